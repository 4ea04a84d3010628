#include "app/window_parameter_values.h"

#include <QLineEdit>

#include "app/entry_validator.h"

namespace tabulon::app {

QString WindowParameterValues::fieldText(const QString& edit) const {
    QLineEdit* field = fields_.value(edit);
    return field ? field->text() : QString();
}

void WindowParameterValues::setFieldText(const QString& edit, const QString& text) {
    if (QLineEdit* field = fields_.value(edit)) EntryValidator::setTextUnchecked(field, text);
}

}  // namespace tabulon::app
