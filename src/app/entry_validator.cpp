#include "app/entry_validator.h"

#include "catalogue/entry_rule.h"

namespace tabulon::app {

QValidator::State EntryValidator::validate(QString& input, int&) const {
    if (auto refusal = entryRefusal(input)) {
        emit refused(*refusal);
        return Invalid;
    }
    return Acceptable;
}

}  // namespace tabulon::app
