#include "cli/fleet_grid_files.h"

#include <QFileInfo>

#include "catalogue/grid_model.h"
#include "cli/table_file_io.h"

namespace tabulon::cli {

FleetGridFiles::Loaded FleetGridFiles::load(const QString& path, TableKind kind, Model model,
                                            std::optional<int> rowsNeeded) {
    const Key key{QFileInfo(path).absoluteFilePath(), int(kind), int(model),
                  rowsNeeded.value_or(0)};
    // Held while the first register reads it: the others wait for its grid
    // rather than read the file beside it.
    const std::lock_guard lock(mutex_);
    if (const auto found = loaded_.find(key); found != loaded_.end()) return found->second;
    std::shared_ptr<GridModel> grid = emptyGrid(kind);
    Loaded result;
    if (const std::optional<QString> error = loadGridFile(path, kind, model, *grid, rowsNeeded))
        result.error = *error;
    else
        result.grid = std::move(grid);
    loaded_.emplace(key, result);
    return result;
}

}  // namespace tabulon::cli
