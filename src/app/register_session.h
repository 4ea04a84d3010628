#pragma once

#include <functional>
#include <memory>

#include "link/link_thread.h"
#include "transfer/run_parts.h"

class QWidget;

namespace tabulon {
class Dialogs;
}

namespace tabulon::app {

class TransferErrorDialog;

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
    TransferErrorDialog& errorDialog() { return *errorDialog_; }
    // Runs on the window's thread after the user chose "Завершить операцию".
    void onEndChosen(std::function<void()> call) { onEnd_ = std::move(call); }

    transfer::FailureAnswer askAfterFailure(int record, int linkResult) override;
    void tellBadData(int record, const QByteArray& reply) override;

private:
    QWidget* window_;
    Dialogs& dialogs_;
    TransferErrorDialog* errorDialog_;
    std::function<void()> onEnd_;
    transfer::RunControl control_;
    link::LinkThread thread_;  // last: it ends before the rest goes
};

}  // namespace tabulon::app
