#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>

#include "link/result_codes.h"
#include "transfer/table_record.h"

namespace tabulon::link {
class RegisterLink;
}

namespace tabulon::transfer {

// The register a run talks to, and the port it reopens after a skip or before
// a retry: always the one of the connection, whatever the boxes show now.
struct Connection {
    int registerNumber = 1;
    int port = 1;
    int speed = 4800;
};

// What the user chose after ten failed attempts at one record.
enum class FailureAnswer {
    Skip,  // "Пропустить": reopen the port, go on with the next record
    // "Пропустить" with "Пропускать и следующие ошибки": as Skip, and every
    // later record of the run that fails is skipped the same way unasked.
    SkipLater,
    Retry,      // "Повторить": reopen the port, ten more attempts
    End,        // "Завершить операцию": the run ends
    Dismissed,  // the dialog closed from its title bar: go on, port untouched
};

// Everything a run says to or asks of the user. Called on the run's thread;
// each call returns once the user has been told or has answered.
class RunDialogs {
public:
    virtual ~RunDialogs() = default;
    // The link result of the last failed attempt, for faces that name it.
    virtual FailureAnswer askAfterFailure(int record, int linkResult) = 0;
    // The same question with the link's cause of the last failed attempt
    // and, for a refusal, the register's own reply text: for faces that say
    // it in words; those that do not are asked as above.
    virtual FailureAnswer askAfterFailedRecord(int record, int linkResult, link::ResultCause cause,
                                               const QByteArray& refusal) {
        (void)cause;
        (void)refusal;
        return askAfterFailure(record, linkResult);
    }
    // The register sent a reply with more fields than the table has; the
    // run ends at its next record.
    virtual void tellBadData(int record, const QByteArray& reply) = 0;
    // A record failed after SkipLater was chosen: skipped without a question.
    // Faces that tell every failure as it happens tell this one here.
    virtual void tellSkipped(int record, int linkResult, link::ResultCause cause,
                             const QByteArray& refusal) {
        (void)record;
        (void)linkResult;
        (void)cause;
        (void)refusal;
    }
};

// The rows of a write run, as the grid (or a file) holds them at the moment
// the run comes to them: columns 1 onward.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual QStringList rowCells(int row) const = 0;
    // Changes whenever rows change while a run reads them; a run made its
    // records at one revision and makes them again after a change.
    virtual int revision() const { return 0; }
};

// Where a read run puts what it reads.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void putRow(int row, const TableReply& reply) = 0;
};

// Looks at a record read back right after a write run wrote it, for callers
// that want proof the register holds what was sent.
class WriteCheck {
public:
    virtual ~WriteCheck() = default;
    // `sent` is the record data written into `record` (from grid row `row`),
    // `reply` the register's reply to reading that record back. False: the
    // record counts as failed, and the run goes on unless it is stopped.
    virtual bool matches(int row, int record, const QByteArray& sent, const QByteArray& reply) = 0;
    // True: a record that reads back otherwise is put to the user as one the
    // line failed (skip, write it again, or end). False: it only counts as
    // failed, the check having said what differs and done what its caller
    // wants done.
    virtual bool asksAfterDifference() const { return false; }
};

// Told after every record a run has dealt with (done, skipped or failed).
class RunProgress {
public:
    virtual ~RunProgress() = default;
    // `counter` is the number shown beside the progress bar; `row` the grid
    // row (or, clearing, the record) just dealt with.
    virtual void recordDone(int counter, int row) = 0;
};

// Shared between a run and whoever may stop it from another thread. Nothing
// here interrupts an exchange: the run looks at it between two records (and
// `cancelled` also between two attempts).
struct RunControl {
    // "Стоп", "Завершить операцию" or bad data: the run ends at its next record.
    std::atomic<bool> stopRequested{false};
    // "Стоп" also returns the registers to idle, between two records.
    std::atomic<bool> resetRequested{false};
    // The program is closing: end as soon as the exchange in hand is over.
    std::atomic<bool> cancelled{false};

    void requestStop() {
        stopRequested = true;
        resetRequested = true;
    }
};

}  // namespace tabulon::transfer
