#include "app/window_parameter_values.h"

#include <QLineEdit>
#include <QWidget>

namespace tabulon::app {

QString WindowParameterValues::fieldText(const QString& edit) const {
    auto* field = window_->findChild<QLineEdit*>(edit);
    return field ? field->text() : QString();
}

void WindowParameterValues::setFieldText(const QString& edit, const QString& text) {
    if (auto* field = window_->findChild<QLineEdit*>(edit)) field->setText(text);
}

}  // namespace tabulon::app
