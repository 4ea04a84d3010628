#include <QDir>

#include "catalogue/grid_model.h"
#include "dialogs/dialogs.h"
#include "disk/safe_save.h"
#include "files/file_dialog_texts.h"
#include "files/file_messages.h"
#include "files/table_file_commands.h"
#include "files/table_file_writer.h"

namespace tabulon::files {

namespace {

WriteResult writeTable(const TableFileContext& context, QIODevice& file) {
    if (isGridTab(context.tab)) {
        const TableKind kind = tableKindOfTab(context.tab);
        return writeGridTable(*context.grids[static_cast<int>(kind)],
                              gridFileLayout(kind, context.model), file, context.progress.step);
    }
    const WriteResult result = writeParameterLine(
        context.fields, parameterFileLayout(parameterSetOfTab(context.tab), context.model), file);
    if (result == WriteOutcome::Complete && context.progress.step) context.progress.step();
    return result;
}

void showSaveFailure(Dialogs& dialogs, const QString& text) {
    // Both buttons end the command alike.
    dialogs.message(text, saveFailedCaption(), MessageIcon::None, MessageButtons::OkCancel);
}

}  // namespace

FileCommandResult saveTableFile(const TableFileContext& context) {
    const std::optional<FileDialogTexts> texts = fileDialogTexts(context.tab);
    if (!texts) return FileCommandResult::NoTableFile;

    const bool spreadsheets = isGridTab(context.tab) && context.saveSpreadsheet;
    FileDialogRequest request = saveFileRequest(*texts, QDir::currentPath());
    if (spreadsheets)
        request.filterList = withSecondFilter(request.filterList, spreadsheetSaveFilter());
    const std::optional<QString> name = context.dialogs.saveFileName(request);
    if (!name) return FileCommandResult::Cancelled;
    if (spreadsheets && isCsvName(*name)) return context.saveSpreadsheet(*name);

    disk::SafeSave file(context.saveFileFactory ? context.saveFileFactory(*name)
                                                : std::make_unique<QSaveFile>(*name));
    if (!file.open()) {
        showSaveFailure(context.dialogs, createFailedText());
        return FileCommandResult::Failed;
    }
    if (context.progress.reset) context.progress.reset();
    // Until the commit the earlier file stays untouched; a write that fails,
    // or bytes the disk did not take, leave it as it was.
    if (const WriteResult written = writeTable(context, file.device());
        written.outcome != WriteOutcome::Complete) {
        file.cancel();
        // The failure text alone does not tell which of 10000 rows to mend.
        const QString detail = writeFailureDetail(written);
        showSaveFailure(context.dialogs,
                        detail.isEmpty() ? writeFailedText() : writeFailedText() + "\n" + detail);
        return FileCommandResult::Failed;
    }
    if (!file.commit()) {
        showSaveFailure(context.dialogs, writeFailedText());
        return FileCommandResult::Failed;
    }
    if (context.progress.reset) context.progress.reset();
    return FileCommandResult::Done;
}

}  // namespace tabulon::files
