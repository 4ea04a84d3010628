#include "app/register_session.h"

#include <QWidget>

#include "app/transfer_error_dialog.h"
#include "dialogs/dialogs.h"
#include "text/cp1251.h"
#include "transfer/progress_estimate.h"
#include "transfer/record_messages.h"
#include "transfer/written_check.h"

namespace tabulon::app {

QString causeInWords(link::ResultCause cause, const QByteArray& refusal) {
    using link::Operation;
    // A refusal names the register's own code: its reply's first field,
    // ("E1" of "E1;"), kept short and printable whatever the line brought.
    if (cause == link::ResultCause::RegisterRefused && !refusal.isEmpty()) {
        QString code = text::fromCp1251(refusal.left(refusal.indexOf(';')).left(16));
        code.removeIf([](QChar c) { return !c.isPrint(); });
        if (!code.isEmpty()) return QStringLiteral("ЭККА отвечает «%1»").arg(code);
    }
    // The exchanges share their causes but for one each: a damaged write
    // reply, and check bytes that only a read reply carries.
    const link::ResultRow* row = link::resultRow(Operation::WriteRecord, cause);
    if (!row) row = link::resultRow(Operation::ReadRecord, cause);
    if (!row || cause == link::ResultCause::Done) return {};
    return QStringView(row->russian.data(), qsizetype(row->russian.size())).toString();
}

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

std::shared_ptr<transfer::WriteCheck> RegisterSession::writeCheck(TableKind kind) const {
    if (!verifyWrites_) return nullptr;
    return std::make_shared<transfer::SameAsWritten>(kind);
}

std::shared_ptr<transfer::WriteCheck> RegisterSession::writeCheck(ParameterSet set,
                                                                  Model model) const {
    if (!verifyWrites_) return nullptr;
    return std::make_shared<transfer::SameAsWritten>(set, model);
}

void RegisterSession::setJobTable(const QString& table) {
    const QMutexLocker lock(&tableMutex_);
    jobTable_ = table;
}

void RegisterSession::setJobTimer(std::shared_ptr<transfer::ProgressTimer> timer) {
    const QMutexLocker lock(&tableMutex_);
    jobTimer_ = std::move(timer);
}

transfer::FailureAnswer RegisterSession::askAfterFailure(int record, int linkResult) {
    return askAfterFailedRecord(record, linkResult, link::ResultCause::Done, {});
}

transfer::FailureAnswer RegisterSession::askAfterFailedRecord(int record, int,
                                                              link::ResultCause cause,
                                                              const QByteArray& refusal) {
    RecordFailure failure{{}, record, causeInWords(cause, refusal)};
    std::shared_ptr<transfer::ProgressTimer> timer;
    {
        const QMutexLocker lock(&tableMutex_);
        failure.table = jobTable_;
        timer = jobTimer_;
    }
    if (timer) timer->pause();
    const transfer::FailureAnswer answer = link::askOn<transfer::FailureAnswer>(
        window_,
        [this, failure] {
            errorDialog_->setRecordLine(recordFailureLine(failure));
            const transfer::FailureAnswer answer =
                errorDialog_->answer(dialogs_.showRecordFailure(*errorDialog_, failure));
            if (answer == transfer::FailureAnswer::End && onEnd_) onEnd_();
            return answer;
        },
        control_.cancelled, transfer::FailureAnswer::End);
    if (timer) timer->resume();
    return answer;
}

void RegisterSession::tellBadData(int, const QByteArray&) {
    link::askOn<bool>(
        window_,
        [this] {
            dialogs_.message(badReplyMessage(), messageCaption(), MessageIcon::None,
                             MessageButtons::Ok);
            return true;
        },
        control_.cancelled, false);
}

}  // namespace tabulon::app
