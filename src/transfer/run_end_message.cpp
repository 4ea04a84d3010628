#include "transfer/run_end_message.h"

#include "transfer/record_list.h"

namespace tabulon::transfer {

QString runEndMessage(Direction direction, const RunOutcome& outcome) {
    if (outcome.stopped) return QStringLiteral("Операция прервана");
    if (outcome.failedRecords.isEmpty()) return QStringLiteral("Операция завершена успешно");
    // Records a clear could not reach still hold what they held; written or
    // read records that were skipped are missing from the register or from
    // the grid. Either way the user must know which they are.
    const QString text =
        direction == Direction::Clear
            ? QStringLiteral(
                  "Операция завершена с ошибками: %1 зап. не очищено и осталось в ЭККА "
                  "без изменений (записи %2).")
            : QStringLiteral("Операция завершена: %1 зап. пропущено (записи %2).");
    return text.arg(outcome.failedRecords.size())
        .arg(recordList(outcome.failedRecords, {.ranges = false, .limit = kRecordsNamed}));
}

}  // namespace tabulon::transfer
