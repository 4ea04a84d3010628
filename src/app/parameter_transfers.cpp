// The parameter tabs with "Записать в ЭККА" and "Прочитать из ЭККА": one
// record each, written from the tab's fields or read into them.

#include <QProgressBar>
#include <QWidget>

#include "app/page_host.h"
#include "app/register_session.h"
#include "app/table_edits.h"
#include "app/table_runs.h"
#include "dialogs/dialogs.h"
#include "transfer/parameter_record.h"
#include "transfer/table_run.h"

namespace tabulon::app {

namespace {

using transfer::Direction;

}  // namespace

void TableRuns::transferParameters(Direction direction, ParameterSet set) {
    RegisterSession& session = host_.session();
    const Model model = host_.selectedModel();
    QByteArray record;
    if (direction == Direction::Write) {
        const BuiltRecord built = BuildParameterRecord(set, parameters_, model);
        if (!built.ok()) {
            host_.dialogs().message(built.error->message, messageCaption(), MessageIcon::Stop,
                                    MessageButtons::Ok);
            return;
        }
        record = built.text;
    } else {
        session.control().stopRequested = false;
    }
    // The window stays usable meanwhile, so no other transfer may start.
    host_.beginJob(LinkJob::ParameterTransfer);

    const transfer::Connection connection = host_.linkConnection();
    const int editsAtStart = edits_.editsOf(static_cast<int>(set));
    std::shared_ptr<transfer::WriteCheck> check;
    if (direction == Direction::Write) check = session.writeCheck(set, model);
    session.post([this, &session, direction, set, model, record, connection, editsAtStart,
                  check](link::RegisterLink& link) {
        transfer::RunParts parts{link, connection, session, session.control()};
        parts.check = check.get();
        if (direction == Direction::Write) {
            const transfer::RecordOutcome outcome = transfer::writeParameters(set, record, parts);
            session.toWindow([this, set, outcome, editsAtStart] {
                endParameterWrite(set, outcome, editsAtStart);
            });
        } else {
            const std::optional<QByteArray> reply = transfer::readParameters(set, parts);
            session.toWindow([this, set, model, reply] { endParameterRead(set, model, reply); });
        }
    });
}

void TableRuns::endParameterWrite(ParameterSet set, transfer::RecordOutcome outcome,
                                  int editsAtStart) {
    host_.endJob();
    if (outcome == transfer::RecordOutcome::Done) {
        edits_.setTransferred(static_cast<int>(set), editsAtStart);
        host_.dialogs().message(QStringLiteral("Операция завершена успешно!"), messageCaption(),
                                MessageIcon::None, MessageButtons::Ok);
    }
}

void TableRuns::endParameterRead(ParameterSet set, Model model,
                                 const std::optional<QByteArray>& reply) {
    host_.endJob();
    if (!reply) return;
    ParseParameterRecord(set, *reply, model, parameters_);
    edits_.setEdited(static_cast<int>(set), false);
    window_->repaint();
    controls_.progress->setValue(0);
    host_.dialogs().message(QStringLiteral("Операция завершена успешно!"), messageCaption(),
                            MessageIcon::None, MessageButtons::Ok);
}

}  // namespace tabulon::app
