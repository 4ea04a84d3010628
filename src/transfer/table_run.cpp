#include "transfer/table_run.h"

#include <chrono>

#include "link/register_link.h"
#include "transfer/clearing_record.h"
#include "transfer/register_tables.h"

namespace tabulon::transfer {

namespace {

using namespace std::chrono_literals;

// The records of a write, every row made before the first is sent.
struct MadeRecords {
    QList<QByteArray> texts;  // by row, from the plan's first
    int revision = 0;         // of the rows they were made from
    std::optional<RecordError> refusal;
};

MadeRecords makeRecords(const RunPlan& plan, const RowSource& source) {
    MadeRecords made;
    made.revision = source.revision();
    made.texts.reserve(plan.rowCount());
    for (int row = plan.firstRow; row <= plan.lastRow; ++row) {
        if (!plan.visits(row)) {
            made.texts << QByteArray();
            continue;
        }
        BuiltRecord built = BuildTableRecord(plan.kind, source.rowCells(row), plan.model,
                                             {row, plan.recordOf(row)});
        if (!built.ok()) {
            made.refusal = std::move(built.error);
            return made;
        }
        made.texts << std::move(built.text);
    }
    return made;
}

// A record written and, with a check, read back and compared.
struct CheckedWrite {
    RecordOutcome outcome = RecordOutcome::Done;
    // Written (and done) but not read back: nobody knows what it holds.
    bool unverified = false;
};

CheckedWrite writeRecord(RecordTransfer& records, RunParts& parts, int table, int row, int record,
                         const QByteArray& text, bool resetAfterSkip = false) {
    const int ecr = parts.connection.registerNumber;
    for (;;) {
        const RecordOutcome written = records.transfer(
            record, [&] { return parts.link.WriteRecord(ecr, table, record, text); },
            resetAfterSkip);
        if (written != RecordOutcome::Done || !parts.check) return {written};
        // A read-back that fails is left to the same answers as any record;
        // the write was taken all the same.
        QByteArray reply;
        if (records.transfer(record, [&] {
                return parts.link.ReadRecord(ecr, table, record, reply);
            }) != RecordOutcome::Done)
            return {RecordOutcome::Done, true};
        if (parts.check->matches(row, record, text, reply)) return {RecordOutcome::Done};
        // The register holds something else than was sent.
        if (!parts.check->asksAfterDifference()) return {RecordOutcome::Skipped};
        if (const std::optional<RecordOutcome> decided =
                records.afterDifference(record, resetAfterSkip))
            return {*decided};
        // "Повторить": written again, and checked again.
    }
}

class Runner {
public:
    Runner(const RunPlan& plan, RunParts& parts, MadeRecords made)
        : plan_(plan),
          parts_(parts),
          table_(registerTableNumber(plan.kind)),
          records_(parts.link, parts.connection, parts.dialogs, parts.control),
          made_(std::move(made)) {}

    RunOutcome run() {
        // The counter beside the progress bar runs with the record number.
        int record = plan_.firstRecord - 1;
        for (int row = plan_.firstRow;; ++row) {
            // "Стоп" returns the registers to idle here, between two records.
            if (parts_.control.resetRequested.exchange(false)) parts_.link.ResetLink();
            ++record;
            if (row > plan_.lastRow) break;
            if (parts_.control.stopRequested || parts_.control.cancelled) {
                outcome_.stopped = true;
                break;
            }
            if (!plan_.visits(row)) continue;
            if (!oneRecord(row, record)) break;
            if (parts_.progress) parts_.progress->recordDone(record, row);
        }
        // A stop that came with the last record (bad data, "Завершить
        // операцию", "Стоп") still ends the run as stopped.
        if (parts_.control.stopRequested || parts_.control.cancelled) outcome_.stopped = true;
        return std::move(outcome_);
    }

private:
    // False ends the run at once (a row that cannot be made after all).
    bool oneRecord(int row, int record) {
        switch (plan_.direction) {
            case Direction::Write:
                return write(row, record);
            case Direction::Read:
                read(row, record);
                return true;
            case Direction::Clear:
                clear(record);
                return true;
        }
        return true;
    }

    void count(RecordOutcome outcome, int record) {
        if (outcome == RecordOutcome::Done) {
            ++outcome_.done;
        } else {
            outcome_.failedRecords << record;
            if (const auto cause = records_.lastCause()) outcome_.failureCauses[record] = *cause;
        }
    }

    bool write(int row, int record) {
        // Rows that changed since the records were made ("Очистить таблицу"
        // during the run empties the rows still to come) are made again.
        QByteArray text;
        if (parts_.source->revision() == made_.revision) {
            text = made_.texts.value(row - plan_.firstRow);
        } else {
            BuiltRecord built = BuildTableRecord(plan_.kind, parts_.source->rowCells(row),
                                                 plan_.model, {row, record});
            if (!built.ok()) {
                outcome_.refusal = built.error->message;
                outcome_.stopped = true;
                return false;
            }
            text = std::move(built.text);
        }
        const CheckedWrite written = writeRecord(records_, parts_, table_, row, record, text);
        if (written.unverified) outcome_.unverifiedRecords << record;
        count(written.outcome, record);
        return true;
    }

    void read(int row, int record) {
        QByteArray reply;
        const RecordOutcome outcome = records_.transfer(record, [&] {
            return parts_.link.ReadRecord(parts_.connection.registerNumber, table_, record, reply);
        });
        if (outcome != RecordOutcome::Done) {
            count(outcome, record);
            return;
        }
        const TableReply parsed = ParseTableRecord(plan_.kind, reply);
        if (parts_.sink) parts_.sink->putRow(row, parsed);
        if (parsed.badData) {
            // Its leading fields are in the row, but the record was not read
            // as the table has it: not counted done.
            parts_.dialogs.tellBadData(record, reply);
            parts_.control.stopRequested = true;
            return;
        }
        count(outcome, record);
    }

    // No dialog and no reopening: a record that fails ten times is left as
    // it was, and the run goes on.
    void clear(int record) {
        const QByteArray text =
            ClearingRecord(plan_.kind, record, plan_.model).value_or(QByteArray());
        for (int attempt = 1;; ++attempt) {
            if (parts_.link.WriteRecord(parts_.connection.registerNumber, table_, record, text) >=
                0) {
                ++outcome_.done;
                return;
            }
            if (attempt == kClearAttempts || parts_.control.cancelled) break;
            parts_.link.clock().sleepFor(1s);
        }
        outcome_.failedRecords << record;
        outcome_.failureCauses[record] = parts_.link.lastCause();
    }

    const RunPlan& plan_;
    RunParts& parts_;
    const int table_;
    RecordTransfer records_;
    MadeRecords made_;
    RunOutcome outcome_;
};

}  // namespace

std::optional<RecordError> firstRefusedRow(const RunPlan& plan, const RowSource& source) {
    if (plan.direction != Direction::Write) return std::nullopt;
    return makeRecords(plan, source).refusal;
}

RunOutcome runTable(const RunPlan& plan, RunParts& parts) {
    MadeRecords made;
    if (plan.direction == Direction::Write) {
        made = makeRecords(plan, *parts.source);
        if (made.refusal) {
            RunOutcome outcome;
            outcome.refusal = std::move(made.refusal->message);
            return outcome;
        }
    }
    return Runner(plan, parts, std::move(made)).run();
}

RecordOutcome writeParameters(ParameterSet set, const QByteArray& record, RunParts& parts) {
    const ParameterTable& table = registerTable(set);
    RecordTransfer transfer(parts.link, parts.connection, parts.dialogs, parts.control);
    return writeRecord(transfer, parts, table.tableNumber, 0, table.record, record,
                       set == ParameterSet::ServiceParameters)
        .outcome;
}

std::optional<QByteArray> readParameters(ParameterSet set, RunParts& parts) {
    const ParameterTable& table = registerTable(set);
    RecordTransfer transfer(parts.link, parts.connection, parts.dialogs, parts.control);
    QByteArray reply;
    const RecordOutcome outcome = transfer.transfer(table.record, [&] {
        return parts.link.ReadRecord(parts.connection.registerNumber, table.tableNumber,
                                     table.record, reply);
    });
    if (outcome != RecordOutcome::Done) return std::nullopt;
    return reply;
}

}  // namespace tabulon::transfer
