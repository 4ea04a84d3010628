#pragma once

#include <QHash>

#include "catalogue/parameter_values.h"

class QLineEdit;

namespace tabulon::app {

// The parameter sets as the texts of the window's edit fields.
class WindowParameterValues : public ParameterValues {
public:
    explicit WindowParameterValues(const QHash<QString, QLineEdit*>& fields) : fields_(fields) {}
    QString fieldText(const QString& edit) const override;
    // A text set from a file or a register reply is stored as it is, past the
    // check that applies to typing.
    void setFieldText(const QString& edit, const QString& text) override;

private:
    const QHash<QString, QLineEdit*>& fields_;
};

}  // namespace tabulon::app
