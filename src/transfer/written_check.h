#pragma once

#include <optional>

#include "catalogue/model.h"
#include "catalogue/table_kind.h"
#include "transfer/run_parts.h"

namespace tabulon::transfer {

// The window's proof that the register holds what it was sent: a record read
// back otherwise is put to the user like one the line failed.
class SameAsWritten final : public WriteCheck {
public:
    // The records of a grid's table.
    explicit SameAsWritten(TableKind kind) : kind_(kind) {}
    // The record of a parameter set, as the model lays it out.
    SameAsWritten(ParameterSet set, Model model) : set_(set), model_(model) {}

    bool matches(int row, int record, const QByteArray& sent, const QByteArray& reply) override;
    bool asksAfterDifference() const override { return true; }

private:
    std::optional<TableKind> kind_;
    ParameterSet set_ = ParameterSet::CashRegisterParameters;
    Model model_ = Model::DatecsMp550T;
};

}  // namespace tabulon::transfer
