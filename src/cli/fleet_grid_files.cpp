#include "cli/fleet_grid_files.h"

#include <QFileInfo>

#include "catalogue/grid_model.h"
#include "cli/cli_commands.h"
#include "cli/table_file_io.h"

namespace tabulon::cli {

namespace {

// Keeps what reading a file tells, for every register that takes the grid.
class KeptMessages final : public CliConsole {
public:
    explicit KeptMessages(QStringList& kept) : kept_(kept) {}
    bool showsProgress() const override { return false; }
    void progress(const QString&) override {}
    void message(const QString& line) override { kept_ << line; }
    void endProgress() override {}

private:
    QStringList& kept_;
};

}  // namespace

FleetGridFiles::Loaded FleetGridFiles::load(const QString& path, TableKind kind, Model model,
                                            std::optional<int> rowsNeeded) {
    const QString file = QFileInfo(path).absoluteFilePath();
    const Key key{file, int(kind), int(model), rowsNeeded.value_or(0)};
    // Held while the first register reads it: the others wait for its grid
    // rather than read the file beside it.
    const std::lock_guard lock(mutex_);
    const auto readers = readers_.find(file);
    const bool last = readers != readers_.end() && --*readers <= 0;
    if (const auto found = loaded_.find(key); found != loaded_.end()) {
        const Loaded kept = found->second;
        if (last)
            std::erase_if(loaded_,
                          [&](const auto& entry) { return std::get<0>(entry.first) == file; });
        return kept;
    }
    std::shared_ptr<GridModel> grid = emptyGrid(kind);
    Loaded result;
    KeptMessages console(result.notes);
    if (const std::optional<QString> error =
            loadGridFile(path, kind, model, *grid, console, rowsNeeded))
        result.error = *error;
    else
        result.grid = std::move(grid);
    if (!last) loaded_.emplace(key, result);
    return result;
}

}  // namespace tabulon::cli
