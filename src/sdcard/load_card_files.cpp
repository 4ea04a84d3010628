// "Загрузить продажи с SD карты": the card's goods and sales files into the
// sales grid.

#include <QDir>
#include <QFile>

#include "catalogue/grid_model.h"
#include "dialogs/dialogs.h"
#include "files/file_messages.h"
#include "sdcard/card_files.h"
#include "sdcard/goods_file.h"
#include "sdcard/sdcard_commands.h"
#include "sdcard/sdcard_texts.h"

namespace tabulon::sdcard {

namespace {

void showCardMessage(Dialogs& dialogs, const QString& text) {
    dialogs.message(text, files::openFailedCaption(), MessageIcon::None, MessageButtons::Ok);
}

// Fills the file's columns; false when the file stopped short, after telling
// the user.
bool fillFrom(QFile& file, CardFile which, const CardLoadCommand& command) {
    const CardReadResult result = readCardFile(file, which, command.sales, command.progress.step);
    switch (result.outcome) {
        case CardReadOutcome::Complete:
            return true;
        case CardReadOutcome::EndOfFile:
            command.dialogs.message(files::endOfFileText(), files::endOfFileCaption(),
                                    MessageIcon::None, MessageButtons::Ok);
            return false;
        case CardReadOutcome::DeviceError:
            showCardMessage(command.dialogs, cardReadFailedText(cardFileLayout(which).fileName));
            return false;
    }
    return false;
}

}  // namespace

QString cardDirectoryPath(const QString& directory) {
    if (directory.endsWith(QLatin1Char('/')) || directory.endsWith(QDir::separator()))
        return directory;
    return directory + QDir::separator();
}

CommandResult loadCardFilesCommand(const CardLoadCommand& command) {
    // Without this, the files would be looked for in the working directory.
    if (command.directory.isEmpty()) {
        showCardMessage(command.dialogs, noDirectoryText());
        return CommandResult::Failed;
    }
    const QString directory = cardDirectoryPath(command.directory);
    const QString uploadName = cardFileLayout(CardFile::Upload).fileName;
    const QString salesName = cardFileLayout(CardFile::Sales).fileName;
    QFile upload(directory + uploadName);
    if (!upload.open(QIODevice::ReadOnly)) {
        showCardMessage(command.dialogs, cardOpenFailedText(uploadName));
        return CommandResult::Failed;
    }
    QFile sales(directory + salesName);
    if (!sales.open(QIODevice::ReadOnly)) {
        showCardMessage(command.dialogs, cardOpenFailedText(salesName));
        return CommandResult::Failed;
    }

    const Progress& progress = command.progress;
    if (progress.reset) progress.reset();
    if (progress.setMaximum) progress.setMaximum(kCardArticles);
    if (!fillFrom(upload, CardFile::Upload, command)) return CommandResult::Failed;
    if (progress.reset) progress.reset();
    if (!fillFrom(sales, CardFile::Sales, command)) return CommandResult::Failed;
    if (progress.reset) progress.reset();
    return CommandResult::Done;
}

}  // namespace tabulon::sdcard
