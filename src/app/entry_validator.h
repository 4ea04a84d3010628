#pragma once

#include <QValidator>

namespace tabulon::app {

// Keeps out of an edit field what would split or corrupt a record or a file
// line (see catalogue/entry_rule.h). A refused keystroke or paste leaves the
// text as it was and reports why, once per refusal.
class EntryValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;

signals:
    void refused(const QString& message) const;
};

}  // namespace tabulon::app
