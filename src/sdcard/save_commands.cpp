// The two saves of the SD-card work: the card's goods file and the combined
// sales file. Both go through a temporary file renamed over the target.

#include <QDir>

#include "catalogue/grid_model.h"
#include "dialogs/dialogs.h"
#include "disk/safe_save.h"
#include "files/file_messages.h"
#include "sdcard/goods_file.h"
#include "sdcard/sales_table.h"
#include "sdcard/sdcard_commands.h"
#include "sdcard/sdcard_texts.h"

namespace tabulon::sdcard {

namespace {

void reset(const Progress& progress) {
    if (progress.reset) progress.reset();
}

void showSaveFailure(Dialogs& dialogs, const QString& text) {
    // Both buttons end the command alike.
    dialogs.message(text, files::saveFailedCaption(), MessageIcon::None, MessageButtons::OkCancel);
}

// Saves into the chosen file what `write` puts out; `write` tells whether
// every line went in, and if not, which and why.
CommandResult saveInto(const QString& path, Dialogs& dialogs, const Progress& progress,
                       const SaveFileFactory& factory,
                       const std::function<files::WriteResult(QIODevice&)>& write) {
    disk::SafeSave file(factory ? factory(path) : std::make_unique<QSaveFile>(path));
    if (!file.open()) {
        showSaveFailure(dialogs, files::createFailedText());
        return CommandResult::Failed;
    }
    reset(progress);
    // Until the commit the earlier file stays as it was, also when the card
    // fills up on the last bytes.
    const files::WriteResult written = write(file.device());
    if (written.outcome != files::WriteOutcome::Complete || !file.commit()) {
        file.cancel();
        // The failure text alone does not tell which of 10000 rows to mend.
        const QString detail = files::writeFailureDetail(written);
        showSaveFailure(dialogs, detail.isEmpty() ? files::writeFailedText()
                                                  : files::writeFailedText() + '\n' + detail);
        return CommandResult::Failed;
    }
    reset(progress);
    return CommandResult::Done;
}

}  // namespace

CommandResult writeGoodsFileCommand(const GoodsFileCommand& command) {
    const std::optional<QString> path =
        command.dialogs.saveFileName({goodsFileTitle(), articleFilterList(), articleExtension(),
                                      QDir::currentPath(), goodsFileProposedName()});
    if (!path) return CommandResult::Cancelled;
    return saveInto(*path, command.dialogs, command.progress, command.saveFileFactory,
                    [&command](QIODevice& file) {
                        return writeGoodsFile(command.goods, file, command.progress.step);
                    });
}

CommandResult saveSalesFileCommand(const SalesSaveCommand& command) {
    // No name is proposed; the dialog starts in the working directory, as
    // every other file dialog of the program does.
    const std::optional<QString> path = command.dialogs.saveFileName(
        {salesFileTitle(), articleFilterList(), articleExtension(), QDir::currentPath()});
    if (!path) return CommandResult::Cancelled;
    return saveInto(*path, command.dialogs, command.progress, command.saveFileFactory,
                    [&command](QIODevice& file) {
                        return writeSalesFile(command.sales, file, command.progress.step);
                    });
}

}  // namespace tabulon::sdcard
