// The two saves of the SD-card work: the card's goods file and the combined
// sales file. Both go through a temporary file renamed over the target.

#include <QDir>
#include <QSaveFile>

#include "catalogue/grid_model.h"
#include "dialogs/dialogs.h"
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
// every line went in.
CommandResult saveInto(const QString& path, Dialogs& dialogs, const Progress& progress,
                       const SaveFileFactory& factory,
                       const std::function<bool(QIODevice&)>& write) {
    std::unique_ptr<QSaveFile> file = factory ? factory(path) : std::make_unique<QSaveFile>(path);
    if (!file->open(QIODevice::WriteOnly)) {
        showSaveFailure(dialogs, files::createFailedText());
        return CommandResult::Failed;
    }
    reset(progress);
    if (!write(*file)) {
        file->cancelWriting();
        file.reset();
        showSaveFailure(dialogs, files::writeFailedText());
        return CommandResult::Failed;
    }
    // A commit that cannot flush or rename leaves the earlier file as well.
    if (!file->commit()) {
        showSaveFailure(dialogs, files::writeFailedText());
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
                        return writeGoodsFile(command.goods, file, command.progress.step) ==
                               GoodsFileOutcome::Complete;
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
                        return writeSalesFile(command.sales, file, command.progress.step) ==
                               SalesFileOutcome::Complete;
                    });
}

}  // namespace tabulon::sdcard
