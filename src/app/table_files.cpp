// "Открыть" and "Сохранить": the window's state handed to the file commands.

#include "app/main_window.h"
#include "app/spreadsheet_files.h"
#include "app/table_edits.h"
#include "catalogue/grid_catalogue.h"
#include "catalogue/grid_model.h"
#include "files/table_file_commands.h"
#include "ui_main_window.h"

namespace tabulon::app {

Model MainWindow::selectedModel() const {
    return modelFromIndex(ui->ComboBox4->currentIndex()).value_or(Model::DatecsMp550T);
}

// One step of the main progress bar; past its end it starts again from the
// beginning, so long tables keep showing movement on a bar of 0 to 100.
void MainWindow::stepProgress() {
    QProgressBar* progress = ui->ProgressBar1;
    const int next = progress->value() + 1;
    progress->setValue(next > progress->maximum() ? progress->minimum() : next);
}

namespace {

files::TableFileContext fileContext(MainWindow& window, int tab, Model model,
                                    QProgressBar* progress, QLabel* fileName,
                                    const std::function<void()>& step) {
    std::array<GridModel*, kGridTableCount> grids{};
    for (int kind = 0; kind < kGridTableCount; ++kind)
        grids[kind] = window.grid(static_cast<TableKind>(kind));
    files::TableFileContext context{tab,
                                    model,
                                    grids,
                                    window.parameterValues(),
                                    window.dialogs(),
                                    {[progress] { progress->setValue(0); }, step},
                                    // The label shares its strip with the comparison controls: a
                                    // long path is cut there, and shows whole when pointed at.
                                    [fileName](const QString& path) {
                                        fileName->setText(path);
                                        fileName->setToolTip(path);
                                    },
                                    {}};
    if (!isGridTab(tab)) return context;
    const TableKind kind = tableKindOfTab(tab);
    GridModel& grid = *grids[static_cast<int>(kind)];
    Dialogs& dialogs = window.dialogs();
    context.openSpreadsheet = [&window, &dialogs, &grid, kind, model](const QString& path) {
        return importSpreadsheet(&window, dialogs, grid, kind, model, path);
    };
    context.saveSpreadsheet = [&dialogs, &grid, kind, model](const QString& path) {
        return exportSpreadsheet(dialogs, grid, kind, model, path);
    };
    return context;
}

}  // namespace

void MainWindow::Button3Click() {
    const int tab = activeTab();
    if (files::openTableFile(fileContext(*this, tab, selectedModel(), ui->ProgressBar1, ui->Label5,
                                         [this] { stepProgress(); })) ==
        files::FileCommandResult::Done) {
        edits_->setEdited(tab, false);
        if (isGridTab(tab)) grids_[tab]->settleMarks([](RowMarks& marks) { marks.opened(); });
    }
}

void MainWindow::Button2Click() {
    const int tab = activeTab();
    if (files::saveTableFile(fileContext(*this, tab, selectedModel(), ui->ProgressBar1, ui->Label5,
                                         [this] { stepProgress(); })) ==
        files::FileCommandResult::Done) {
        edits_->setEdited(tab, false);
        if (isGridTab(tab)) grids_[tab]->settleMarks([](RowMarks& marks) { marks.saved(); });
    }
}

}  // namespace tabulon::app
