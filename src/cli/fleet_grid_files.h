#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <tuple>

#include "catalogue/model.h"
#include "catalogue/table_kind.h"

namespace tabulon {
class GridModel;
}

namespace tabulon::cli {

// The table files of a fleet's command, each read once for every register
// that writes it: a goods file's grid is 2.6 MB, which hundreds of registers
// would otherwise each hold. The grids are only read once loaded; any thread
// may ask.
class FleetGridFiles {
public:
    struct Loaded {
        std::shared_ptr<const GridModel> grid;  // null when it did not load
        QString error;                          // why, as loadGridFile says
        QStringList notes;                      // what reading it told the console
    };

    Loaded load(const QString& path, TableKind kind, Model model, std::optional<int> rowsNeeded);

private:
    using Key = std::tuple<QString, int, int, int>;
    std::mutex mutex_;
    std::map<Key, Loaded> loaded_;
};

}  // namespace tabulon::cli
