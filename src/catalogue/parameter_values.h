#pragma once

#include <QHash>
#include <QString>

namespace tabulon {

// The texts of the parameter fields, by field name ("Edit5"). The window
// implements it over its edit fields; code below the window reads and writes
// parameter sets through it.
class ParameterValues {
public:
    virtual ~ParameterValues() = default;
    virtual QString fieldText(const QString& edit) const = 0;
    virtual void setFieldText(const QString& edit, const QString& text) = 0;
};

// A plain in-memory set of fields, for code that has no window.
class ParameterMap : public ParameterValues {
public:
    QString fieldText(const QString& edit) const override { return texts_.value(edit); }
    void setFieldText(const QString& edit, const QString& text) override { texts_[edit] = text; }
    bool contains(const QString& edit) const { return texts_.contains(edit); }

private:
    QHash<QString, QString> texts_;
};

}  // namespace tabulon
