#include "app/spreadsheet_files.h"

#include "app/import_preview.h"
#include "app/window_font.h"
#include "catalogue/grid_catalogue.h"
#include "dialogs/dialogs.h"
#include "disk/input_file.h"
#include "disk/safe_save.h"
#include "files/file_messages.h"
#include "import/csv_export.h"
#include "import/import_plan.h"
#include "settings/import_columns.h"
#include "settings/profile_file.h"
#include "settings/settings_file.h"

namespace tabulon::app {

using files::FileCommandResult;

FileCommandResult importSpreadsheet(QWidget* parent, Dialogs& dialogs, GridModel& grid,
                                    TableKind kind, Model model, const QString& path) {
    const disk::WholeFile file = disk::readWholeFile(path, import::kLargestSpreadsheet);
    if (!file.error.isEmpty()) {
        dialogs.message(files::openFailedText(), files::openFailedCaption(), MessageIcon::None,
                        MessageButtons::Ok);
        return FileCommandResult::Failed;
    }
    // The headings are known once the file is read; the columns chosen for
    // them last time are offered in place of the guesses.
    const settings::ProfileFile settingsFile(settings::workingSettingsFile());
    const QString table = gridShape(kind).objectName;
    import::ImportChoices choices;
    const import::ImportPlan guessed = import::planImport(file.bytes, kind, model, choices, grid);
    if (guessed.header)
        choices.columns =
            settings::rememberedImportColumns(settingsFile, table, guessed.fileColumns);

    ImportPreview preview(file.bytes, kind, model, grid, choices, parent);
    preview.setFont(windowFont());
    if (dialogs.showModal(preview) != QDialog::Accepted || preview.plan().refused())
        return FileCommandResult::Cancelled;
    const import::ImportPlan& plan = preview.plan();
    import::applyImport(plan, grid);
    if (preview.columnsChosen() && plan.header)
        settings::rememberImportColumns(settingsFile, table, plan.fileColumns, plan.columns);
    return FileCommandResult::Imported;
}

FileCommandResult exportSpreadsheet(Dialogs& dialogs, const GridModel& grid, TableKind kind,
                                    Model model, const QString& path) {
    disk::SafeSave file(path);
    // Both buttons end the command alike, as with the table's own files.
    const auto fail = [&dialogs](const QString& text) {
        dialogs.message(text, files::saveFailedCaption(), MessageIcon::None,
                        MessageButtons::OkCancel);
        return FileCommandResult::Failed;
    };
    if (!file.open()) return fail(files::createFailedText());
    const QByteArray bytes = import::exportDelimited(grid, kind, model, false);
    if (file.device().write(bytes) != bytes.size()) {
        file.cancel();
        return fail(files::writeFailedText());
    }
    if (!file.commit()) return fail(files::writeFailedText());
    return FileCommandResult::Done;
}

}  // namespace tabulon::app
