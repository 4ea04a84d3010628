#pragma once

#include <optional>

namespace tabulon::app {

// What holds the register link while the window goes on taking input.
enum class LinkJob {
    None,
    Connecting,         // "Подключить": the port opens and the register is looked for
    TableRun,           // a grid's table written, read or cleared; "Стоп" acts on it
    ParameterTransfer,  // a parameter tab's record written or read
    LogoTransfer,       // the logo written or read
    ReportDownload,     // the reports read into their files; "Стоп" acts on it
};

// What the enabled commands of the main window depend on.
struct WindowState {
    int tab = 0;  // the active tab
    bool connected = false;
    LinkJob job = LinkJob::None;
    bool logoPresent = false;
    // A logo transfer or the report download has just ended: the logo's
    // save and write come back as the logo is, whatever tab is shown.
    bool pageWorkEnded = false;
};

// Which commands of the main window are enabled. The logo tab's save and
// write are the only ones some states leave as they are (empty).
struct CommandStates {
    bool write = false;            // Button4 "Записать в ЭККА"
    bool read = false;             // Button9 "Прочитать из ЭККА"
    bool compare = false;          // ButtonCompare "Сравнить с ЭККА"
    bool clearRegister = false;    // Button8 "Очистить"
    bool stop = false;             // Button6 "Стоп"
    bool openAndSave = false;      // Button3 "Открыть", Button2 "Сохранить"
    bool connect = false;          // Button5 "Подключить" / "Отключить"
    bool connectionBoxes = false;  // port, speed, register number and model boxes
    bool clearGrid = false;        // Button16 "Очистить таблицу"
    bool writeRows = false;        // ComboBoxWriteRows: which rows a write sends
    bool goodsOnly = false;  // the coding interval group, Button15 "Запись SD карты"
    bool logoLoadAndRead = false;          // Button7, Button12
    std::optional<bool> logoSaveAndWrite;  // Button11, Button13
    bool reportsRead = false;              // Button19 "Чтение отчетов"
};

// The one rule for the commands. The window applies it whenever one of the
// state's parts changes by an operation, and when the user switches tabs; a
// tab shown by the program itself leaves the commands as they are.
CommandStates commandStates(const WindowState& state);

}  // namespace tabulon::app
