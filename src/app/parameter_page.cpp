#include <QLabel>
#include <QLineEdit>

#include "app/controls.h"
#include "app/entry_validator.h"
#include "app/pages.h"
#include "catalogue/parameter_catalogue.h"

namespace tabulon::app {

namespace {
constexpr int kTop = 8;
constexpr int kRowPitch = 29;
constexpr int kFieldWidth = 121;
constexpr int kColumnLeft[] = {8, 376};
constexpr int kFieldLeft[] = {240, 608};
}  // namespace

void buildParameterPage(QWidget* page, ParameterSet set, EntryValidator* validator) {
    const ParameterTab& tab = parameterTab(set);
    for (int i = 0; i < tab.fields.size(); ++i) {
        const ParameterField& field = tab.fields[i];
        const int column = i < tab.leftColumnCount ? 0 : 1;
        const int row = column == 0 ? i : i - tab.leftColumnCount;
        const int y = kTop + row * kRowPitch;
        makeLabel(page, field.label, field.labelText, kColumnLeft[column], y + 3);
        QLineEdit* edit = makeEdit(page, field.edit, kFieldLeft[column], y, kFieldWidth);
        edit->setToolTip(field.hints.join(QLatin1Char('\n')));
        edit->setValidator(validator);
    }
}

}  // namespace tabulon::app
