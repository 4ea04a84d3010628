#include "app/parameter_page.h"

#include <QLabel>
#include <QLineEdit>

#include "app/entry_validator.h"
#include "catalogue/model_profile.h"
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

ParameterPage::ParameterPage(QWidget* parent) : QWidget(parent) {}

void ParameterPage::build(ParameterSet set, EntryRefusals* refusals) {
    const ParameterTab& tab = parameterTab(set);
    for (int i = 0; i < tab.fields.size(); ++i) {
        const ParameterField& field = tab.fields[i];
        const int column = i < tab.leftColumnCount ? 0 : 1;
        const int row = column == 0 ? i : i - tab.leftColumnCount;
        const int y = kTop + row * kRowPitch;

        auto* label = new QLabel(field.labelText, this);
        label->setObjectName(field.label);
        // The label runs up to its field; a model's longer caption still fits.
        label->setGeometry(kColumnLeft[column], y, kFieldLeft[column] - kColumnLeft[column] - 4,
                           kFieldHeight);
        labels_.insert(field.label, label);

        auto* edit = new QLineEdit(this);
        edit->setObjectName(field.edit);
        edit->setGeometry(kFieldLeft[column], y, kFieldWidth, kFieldHeight);
        edit->setToolTip(field.hints.join(QLatin1Char('\n')));
        new EntryValidator(edit, refusals);
        fields_.insert(field.edit, edit);
    }
}

bool ParameterPage::present(const FieldPresentation& field) {
    QLabel* label = labels_.value(field.label);
    QLineEdit* edit = fields_.value(field.edit);
    if (!label || !edit) return false;
    label->setText(field.text);
    edit->setVisible(field.visible);
    return true;
}

}  // namespace tabulon::app
