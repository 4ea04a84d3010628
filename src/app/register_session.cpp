#include "app/register_session.h"

#include <QWidget>

#include "app/transfer_error_dialog.h"
#include "dialogs/dialogs.h"
#include "transfer/record_messages.h"

namespace tabulon::app {

RegisterSession::RegisterSession(std::unique_ptr<link::RegisterLink> link, QWidget* window,
                                 Dialogs& dialogs)
    : window_(window),
      dialogs_(dialogs),
      errorDialog_(new TransferErrorDialog(window)),
      thread_(std::move(link)) {
    // Set before any job runs: the link stops waiting on a silent line once
    // the window closes.
    thread_.linkWhileIdle().stopWaitingWhen(&control_.cancelled);
}

RegisterSession::~RegisterSession() {
    // A job that waits for an answer or runs a table is ended between two
    // exchanges; the thread is joined when thread_ goes.
    control_.cancelled = true;
    control_.stopRequested = true;
}

void RegisterSession::post(link::LinkThread::Job job) {
    thread_.post(std::move(job));
}

void RegisterSession::toWindow(std::function<void()> call) const {
    link::postTo(window_, std::move(call));
}

transfer::FailureAnswer RegisterSession::askAfterFailure(int, int) {
    return link::askOn<transfer::FailureAnswer>(
        window_,
        [this] {
            const transfer::FailureAnswer answer =
                TransferErrorDialog::answer(dialogs_.showModal(*errorDialog_));
            if (answer == transfer::FailureAnswer::End && onEnd_) onEnd_();
            return answer;
        },
        control_.cancelled, transfer::FailureAnswer::End);
}

void RegisterSession::tellBadData(int, const QByteArray&) {
    link::askOn<bool>(
        window_,
        [this] {
            dialogs_.message(badReplyMessage(), QStringLiteral("Tabulon"), MessageIcon::None,
                             MessageButtons::Ok);
            return true;
        },
        control_.cancelled, false);
}

}  // namespace tabulon::app
