#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "catalogue/grid_model.h"
#include "dialogs/dialogs.h"
#include "disk/input_file.h"
#include "files/file_dialog_texts.h"
#include "files/file_messages.h"
#include "files/table_file_commands.h"
#include "files/table_file_reader.h"

namespace tabulon::files {

namespace {

ReadResult readTable(const TableFileContext& context, QIODevice& file) {
    if (isGridTab(context.tab)) {
        const TableKind kind = tableKindOfTab(context.tab);
        return readGridTable(file, *context.grids[static_cast<int>(kind)],
                             gridFileLayout(kind, context.model), context.progress.step);
    }
    return readParameterLine(file, context.fields,
                             parameterFileLayout(parameterSetOfTab(context.tab), context.model));
}

void showReadFailure(Dialogs& dialogs, const ReadResult& result) {
    if (result.outcome == ReadOutcome::EndOfFile) {
        dialogs.message(endOfFileText(), endOfFileCaption(), MessageIcon::None, MessageButtons::Ok);
    } else {
        dialogs.message(readFailedText(result.lineStart), readFailedCaption(), MessageIcon::None,
                        MessageButtons::Ok);
    }
}

void reset(const FileProgress& progress) {
    if (progress.reset) progress.reset();
}

}  // namespace

FileCommandResult openTableFile(const TableFileContext& context) {
    const std::optional<FileDialogTexts> texts = fileDialogTexts(context.tab);
    if (!texts) return FileCommandResult::NoTableFile;

    const bool spreadsheets = isGridTab(context.tab) && context.openSpreadsheet;
    FileDialogRequest request = openFileRequest(*texts, QDir::currentPath());
    if (spreadsheets)
        request.filterList = withSecondFilter(request.filterList, spreadsheetOpenFilter());
    const std::optional<QString> name = context.dialogs.openFileName(request);
    if (!name) return FileCommandResult::Cancelled;
    if (spreadsheets && isSpreadsheetName(*name)) return context.openSpreadsheet(*name);

    // Read line by line up to the table's line count, 199 bytes a line at
    // most: the goods' 10000 lines are all that is ever read of a file.
    QFile file(*name);
    QString unreadable;
    if (!disk::openToRead(file, unreadable)) {
        context.dialogs.message(openFailedText(), openFailedCaption(), MessageIcon::None,
                                MessageButtons::Ok);
        return FileCommandResult::Failed;
    }
    reset(context.progress);
    const ReadResult result = readTable(context, file);
    file.close();
    // The file loads as it always has, but the rows after that line have
    // moved down by one, and the user must hear which line to mend.
    if (result.splitLine > 0) {
        context.dialogs.message(splitLineText(result.splitLine), splitLineCaption(),
                                MessageIcon::None, MessageButtons::Ok);
    }
    if (result.outcome != ReadOutcome::Complete) {
        showReadFailure(context.dialogs, result);
        return FileCommandResult::Failed;
    }
    reset(context.progress);
    // The letters came out right, but the file is not in the register's
    // code page, and the user should know before handing it on.
    if (result.readAsUtf8) {
        context.dialogs.message(readAsUtf8Text(QFileInfo(*name).fileName()), readAsUtf8Caption(),
                                MessageIcon::None, MessageButtons::Ok);
    }
    if (context.showFileName)
        context.showFileName(QDir::toNativeSeparators(QFileInfo(*name).absoluteFilePath()));
    return FileCommandResult::Done;
}

}  // namespace tabulon::files
