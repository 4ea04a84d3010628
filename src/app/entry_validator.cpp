#include "app/entry_validator.h"

#include <QLineEdit>
#include <algorithm>

#include "catalogue/entry_rule.h"

namespace tabulon::app {

namespace {

// The part of after that is not in before: what an edit typed or pasted.
QString insertedText(const QString& before, const QString& after) {
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before[head] == after[head]) ++head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return after.mid(head, after.size() - head - tail);
}

}  // namespace

EntryValidator::EntryValidator(QLineEdit* field, EntryRefusals* refusals)
    : QValidator(field), refusals_(refusals), before_(field->text()) {
    field->setValidator(this);
    // Every change, accepted or undone, ends with the field's new text.
    connect(field, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text; });
}

QValidator::State EntryValidator::validate(QString& input, int&) const {
    // Undoing the user's edits may bring back what the program put there;
    // that is no entry of the user's.
    if (programChange_ || input == programText_) return Acceptable;
    if (auto refusal = entryRefusal(insertedText(before_, input))) {
        emit refusals_->refused(*refusal);
        return Invalid;
    }
    return Acceptable;
}

void EntryValidator::setTextUnchecked(QLineEdit* field, const QString& text) {
    auto* check = qobject_cast<EntryValidator*>(const_cast<QValidator*>(field->validator()));
    if (check) {
        check->programChange_ = true;
        check->programText_ = text;
    }
    field->setText(text);
    if (check) check->programChange_ = false;
}

}  // namespace tabulon::app
