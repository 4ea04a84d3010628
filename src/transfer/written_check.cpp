#include "transfer/written_check.h"

#include "transfer/record_differences.h"

namespace tabulon::transfer {

bool SameAsWritten::matches(int, int, const QByteArray& sent, const QByteArray& reply) {
    if (kind_) return recordDifferences(*kind_, sent, ParseTableRecord(*kind_, reply)).none();
    return parameterDifferences(set_, model_, sent, reply).isEmpty();
}

}  // namespace tabulon::transfer
