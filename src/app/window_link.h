#pragma once

#include <QString>
#include <memory>

namespace tabulon {
class Dialogs;
}
namespace tabulon::link {
class RegisterLink;
}

namespace tabulon::app {

struct WindowLink {
    std::unique_ptr<link::RegisterLink> link;
    QString traceFile;  // where the bytes go, absolute; empty: no trace
};

// The window's link on the serial line, COMn mapped through Tabulon.ini in
// the working directory of the moment a port opens. With a trace file named
// (`tabulon --trace FILE`, else Trace in the settings file) every byte each
// way goes into it; one that cannot be opened is told through `dialogs`,
// and the link goes on untraced.
WindowLink makeWindowLink(QString traceFile, Dialogs& dialogs);

// The trace file the window is asked for: the command line's, else the
// settings file's in the working directory.
QString chosenTraceFile(const QString& commandLine);

}  // namespace tabulon::app
