#pragma once

#include <QHash>
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
    // How often the fleet's registers will ask for each file, by absolute
    // path. A grid is let go once its last register has taken it: a file of
    // each register's own ({name}) would otherwise stay in memory, each of
    // them, until the whole fleet has ended. A file not counted is kept.
    explicit FleetGridFiles(QHash<QString, int> readers = {}) : readers_(std::move(readers)) {}

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
    QHash<QString, int> readers_;  // the asks still to come for each file
};

}  // namespace tabulon::cli
