#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

#include "catalogue/model.h"
#include "catalogue/table_kind.h"
#include "transfer/table_record.h"

namespace tabulon::transfer {

// One field that the register holds otherwise than a row makes it.
struct FieldDifference {
    int column = 0;  // grid column (1-based)
    QString mine;    // the field as the row's record carries it
    // The register's field; nullopt when its reply ends before it.
    std::optional<QString> theirs;
    bool operator==(const FieldDifference&) const = default;
};

// How a record the register holds differs from `sent`, the record a row makes
// (names already cut, prices already with their decimals): a name cut to 32
// characters compares with its first 32, and "12.5" typed compares equal with
// "12.50" held. Fields with no grid column are not compared.
struct RecordDifferences {
    QList<FieldDifference> fields;
    // The reply carried more fields than the table has: it is not the record.
    bool badData = false;
    bool none() const { return fields.isEmpty() && !badData; }
};

RecordDifferences recordDifferences(TableKind kind, const QByteArray& sent,
                                    const TableReply& reply);

// One field of a parameter set that the register holds otherwise than sent.
struct ParameterDifference {
    QString edit;  // the window's field ("Edit12")
    QString mine;  // as sent
    // As the register's reply gives it; nullopt when the reply ends before it.
    std::optional<QString> theirs;
};

// How the reply to reading a parameter set back differs from `sent`, the
// record written, field by field in the record's order. Empty: equal.
QList<ParameterDifference> parameterDifferences(ParameterSet set, Model model,
                                                const QByteArray& sent, const QByteArray& reply);

}  // namespace tabulon::transfer
