#include "app/remembered_folders.h"

#include <QDir>
#include <QFileInfo>

#include "settings/dialog_folders.h"
#include "settings/profile_file.h"
#include "settings/settings_file.h"

namespace tabulon::app {

QString fileKind(const FileDialogRequest& request) {
    if (!request.defaultExtension.isEmpty()) return request.defaultExtension.toLower();
    // "Файлы товаров (*.art)|*.ART|...": the pattern after the first "|".
    const QString pattern = request.filterList.section(QLatin1Char('|'), 1, 1).section(u';', 0, 0);
    const QString extension = pattern.section(QLatin1Char('.'), -1);
    if (!pattern.startsWith(QStringLiteral("*.")) || extension == u'*' || extension.isEmpty())
        return {};
    return extension.toLower();
}

template <class Ask>
std::optional<QString> RememberedFolders::fileName(FileDialogRequest request, Ask ask) {
    const QString kind = fileKind(request);
    // The settings file of the working directory as it is now, as the
    // window reads it at start-up.
    const settings::ProfileFile file(settings::workingSettingsFile());
    const QString folder = settings::rememberedFolder(file, kind);
    // A folder since removed or renamed is no place to start.
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) request.directory = folder;
    std::optional<QString> chosen = ask(request);
    if (chosen) settings::rememberFolder(file, kind, QFileInfo(*chosen).absolutePath());
    return chosen;
}

std::optional<QString> RememberedFolders::openFileName(const FileDialogRequest& request) {
    return fileName(request,
                    [this](const FileDialogRequest& r) { return dialogs_.openFileName(r); });
}

std::optional<QString> RememberedFolders::saveFileName(const FileDialogRequest& request) {
    return fileName(request,
                    [this](const FileDialogRequest& r) { return dialogs_.saveFileName(r); });
}

}  // namespace tabulon::app
