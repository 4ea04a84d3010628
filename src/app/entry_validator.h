#pragma once

#include <QObject>
#include <QValidator>

class QLineEdit;

namespace tabulon::app {

// Collects the refusals of all the window's entry checks in one signal.
class EntryRefusals : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void refused(const QString& message);
};

// Keeps out of one edit field what would split or corrupt a record or a file
// line (see catalogue/entry_rule.h). Only what the user types or pastes is
// checked: the characters that a change brings in, not the whole text, so a
// value the program put there (a file may hold anything) neither raises a
// refusal nor blocks the user's own edits around it. A refused change leaves
// the text as it was and is reported once.
class EntryValidator : public QValidator {
    Q_OBJECT
public:
    // Installs itself on the field, which owns it.
    EntryValidator(QLineEdit* field, EntryRefusals* refusals);

    State validate(QString& input, int& pos) const override;

    // Sets a field's text from the program, past its entry check.
    static void setTextUnchecked(QLineEdit* field, const QString& text);

private:
    EntryRefusals* refusals_;
    QString before_;       // the field's text before the change being validated
    QString programText_;  // what the program last put there
    bool programChange_ = false;
};

}  // namespace tabulon::app
