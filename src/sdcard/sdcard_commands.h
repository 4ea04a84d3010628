#pragma once

#include <QString>
#include <functional>
#include <memory>

class QSaveFile;

namespace tabulon {
class Dialogs;
class GridModel;
}  // namespace tabulon

namespace tabulon::sdcard {

// A progress bar as the SD-card commands drive it. Any part may be empty.
struct Progress {
    std::function<void()> reset;          // back to 0
    std::function<void()> step;           // one line further
    std::function<void(int)> setMaximum;  // range 0..maximum
};

// Opens the file a save goes into. A save writes into a temporary file and
// renames it over the target only once every line is written, so a failed
// save leaves the earlier file as it was.
using SaveFileFactory = std::function<std::unique_ptr<QSaveFile>(const QString& path)>;

enum class CommandResult {
    Cancelled,  // the user cancelled the dialog; nothing happened
    Done,
    Failed,  // a message box told the user
};

// "Запись SD карты (Neon)": asks where to put the card's goods file and
// writes rows 1 to 10000 of the goods grid into it. The grid is not changed.
struct GoodsFileCommand {
    const GridModel& goods;
    Dialogs& dialogs;
    Progress progress;
    SaveFileFactory saveFileFactory;  // empty: a plain QSaveFile
};
CommandResult writeGoodsFileCommand(const GoodsFileCommand& command);

// "Загрузить продажи с SD карты": fills the sales grid from "upload.art" and
// "sales.art" in the directory the user named.
struct CardLoadCommand {
    QString directory;  // as typed in the directory field
    GridModel& sales;
    Dialogs& dialogs;
    Progress progress;
};
CommandResult loadCardFilesCommand(const CardLoadCommand& command);

// "Сохранить продажи в файл": asks for a file and writes the sales grid into
// it.
struct SalesSaveCommand {
    const GridModel& sales;
    Dialogs& dialogs;
    Progress progress;
    SaveFileFactory saveFileFactory;
};
CommandResult saveSalesFileCommand(const SalesSaveCommand& command);

// The directory with the platform's separator at its end.
QString cardDirectoryPath(const QString& directory);

}  // namespace tabulon::sdcard
