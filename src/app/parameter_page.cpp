#include <QLabel>
#include <QLineEdit>

#include "app/entry_validator.h"
#include "app/pages.h"
#include "catalogue/parameter_catalogue.h"

namespace tabulon::app {

namespace {
constexpr int kTop = 8;
constexpr int kRowPitch = 29;
constexpr int kFieldWidth = 121;
constexpr int kFieldHeight = 21;
constexpr int kColumnLeft[] = {8, 376};
constexpr int kFieldLeft[] = {240, 608};
}  // namespace

void buildParameterPage(QWidget* page, ParameterSet set, EntryRefusals* refusals,
                        ParameterControls& controls) {
    const ParameterTab& tab = parameterTab(set);
    for (int i = 0; i < tab.fields.size(); ++i) {
        const ParameterField& field = tab.fields[i];
        const int column = i < tab.leftColumnCount ? 0 : 1;
        const int row = column == 0 ? i : i - tab.leftColumnCount;
        const int y = kTop + row * kRowPitch;

        auto* label = new QLabel(field.labelText, page);
        label->setObjectName(field.label);
        // The label runs up to its field; a model's longer caption still fits.
        label->setGeometry(kColumnLeft[column], y, kFieldLeft[column] - kColumnLeft[column] - 4,
                           kFieldHeight);
        controls.labels.insert(field.label, label);

        auto* edit = new QLineEdit(page);
        edit->setObjectName(field.edit);
        edit->setGeometry(kFieldLeft[column], y, kFieldWidth, kFieldHeight);
        edit->setToolTip(field.hints.join(QLatin1Char('\n')));
        new EntryValidator(edit, refusals);
        controls.fields.insert(field.edit, edit);
    }
}

}  // namespace tabulon::app
