#pragma once

#include <QMutex>
#include <QString>
#include <functional>
#include <memory>

#include "catalogue/model.h"
#include "catalogue/table_kind.h"
#include "link/clock.h"
#include "link/link_thread.h"
#include "transfer/run_parts.h"

class QWidget;

namespace tabulon {
class Dialogs;
}

namespace tabulon::transfer {
class ProgressTimer;
}

namespace tabulon::app {

class TransferErrorDialog;

// A failed exchange's cause as the user reads it ("нет ответа"); empty when
// the link named none.
QString causeInWords(link::ResultCause cause, const QByteArray& refusal = {});

// The window's side of the register link: the link's own thread, the stop
// and cancel flags every job looks at, and the dialogs a job asks through
// (the transfer error dialog and the bad-data box, shown on the window's
// thread while the job waits). Closing the window cancels the job in hand.
class RegisterSession final : public transfer::RunDialogs {
public:
    RegisterSession(std::unique_ptr<link::RegisterLink> link, QWidget* window, Dialogs& dialogs);
    ~RegisterSession() override;

    // Runs on the link's thread; `job` reports back through toWindow().
    void post(link::LinkThread::Job job);
    // Runs `call` on the window's thread, after what the job reported before.
    void toWindow(std::function<void()> call) const;
    bool isBusy() const { return thread_.isBusy(); }
    // Tests: wait until every job posted so far has ended.
    bool waitUntilIdle(int timeoutMs = -1) { return thread_.waitUntilIdle(timeoutMs); }

    transfer::RunControl& control() { return control_; }
    // What the transfers time themselves by for their estimate of the time
    // left; read on the link's thread too. Tests give one of their own.
    std::shared_ptr<link::Clock> progressClock() const { return progressClock_; }
    void setProgressClock(std::shared_ptr<link::Clock> clock) { progressClock_ = std::move(clock); }
    TransferErrorDialog& errorDialog() { return *errorDialog_; }
    // Runs on the window's thread after the user chose "Завершить операцию".
    void onEndChosen(std::function<void()> call) { onEnd_ = std::move(call); }

    // "Проверять запись": each record the window writes is read back, and one
    // that reads otherwise is asked about as a failed one. Window's thread.
    void setVerifyWrites(bool verify) { verifyWrites_ = verify; }
    // The check a write starting now takes with it; null when the box is clear.
    std::shared_ptr<transfer::WriteCheck> writeCheck(TableKind kind) const;
    std::shared_ptr<transfer::WriteCheck> writeCheck(ParameterSet set, Model model) const;

    // The table the job in hand works on, as the error dialog names it; any
    // thread may set it, before the job's first exchange.
    void setJobTable(const QString& table);
    // The timer of the job in hand's progress, paused while the error dialog
    // waits for an answer; any thread may set it.
    void setJobTimer(std::shared_ptr<transfer::ProgressTimer> timer);

    transfer::FailureAnswer askAfterFailure(int record, int linkResult) override;
    transfer::FailureAnswer askAfterFailedRecord(int record, int linkResult,
                                                 link::ResultCause cause,
                                                 const QByteArray& refusal) override;
    void tellBadData(int record, const QByteArray& reply) override;

private:
    QWidget* window_;
    Dialogs& dialogs_;
    TransferErrorDialog* errorDialog_;
    std::function<void()> onEnd_;
    bool verifyWrites_ = false;
    mutable QMutex tableMutex_;
    QString jobTable_;
    std::shared_ptr<transfer::ProgressTimer> jobTimer_;
    transfer::RunControl control_;
    std::shared_ptr<link::Clock> progressClock_ = link::steadyClock();
    link::LinkThread thread_;  // last: it ends before the rest goes
};

}  // namespace tabulon::app
