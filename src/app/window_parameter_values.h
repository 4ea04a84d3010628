#pragma once

#include "catalogue/parameter_values.h"

class QWidget;

namespace tabulon::app {

// The parameter sets as the texts of the window's edit fields.
class WindowParameterValues : public ParameterValues {
public:
    explicit WindowParameterValues(QWidget* window) : window_(window) {}
    QString fieldText(const QString& edit) const override;
    void setFieldText(const QString& edit, const QString& text) override;

private:
    QWidget* window_;
};

}  // namespace tabulon::app
