#include "app/window_link.h"

#include <QFileInfo>

#include "dialogs/dialogs.h"
#include "link/serial_link.h"
#include "ports/port_resolver.h"
#include "settings/profile_file.h"
#include "settings/settings_file.h"
#include "settings/trace_setting.h"

namespace tabulon::app {

WindowLink makeWindowLink(QString traceFile, Dialogs& dialogs) {
    // The settings file is looked up when a port opens, in the working
    // directory of that moment, as the rest of the settings are.
    const link::DeviceResolver deviceFor = ports::portResolver();
    if (!traceFile.isEmpty()) {
        traceFile = QFileInfo(traceFile).absoluteFilePath();
        QString error;
        if (auto traced = link::makeTracedSerialLink(deviceFor, traceFile, error))
            return {std::move(traced), traceFile};
        dialogs.message(QStringLiteral("Журнал обмена не ведётся: файл %1 не открывается (%2).")
                            .arg(traceFile, error),
                        messageCaption(), MessageIcon::Warning, MessageButtons::Ok);
    }
    return {link::makeSerialLink(deviceFor), QString()};
}

QString chosenTraceFile(const QString& commandLine) {
    if (!commandLine.isEmpty()) return commandLine;
    return settings::traceFileSetting(settings::ProfileFile(settings::workingSettingsFile()));
}

}  // namespace tabulon::app
