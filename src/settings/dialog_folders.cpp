#include "settings/dialog_folders.h"

#include "settings/profile_file.h"

namespace tabulon::settings {

namespace {
const QString kSection = QStringLiteral("Folders");
// As long as the report directory may be.
constexpr int kLongestFolder = 499;
}  // namespace

QString rememberedFolder(const ProfileFile& file, const QString& kind) {
    if (kind.isEmpty()) return {};
    return file.read(kSection, kind, QString(), kLongestFolder);
}

void rememberFolder(const ProfileFile& file, const QString& kind, const QString& folder) {
    // A longer folder would come back cut short, one with blanks at an end
    // without them, one with a line break as the start of a line of its own:
    // each names another folder.
    if (kind.isEmpty() || folder.isEmpty() || folder.size() > kLongestFolder ||
        folder.trimmed() != folder || folder.contains(u'\n') || folder.contains(u'\r'))
        return;
    if (rememberedFolder(file, kind) == folder) return;
    file.write(kSection, kind, folder);
}

}  // namespace tabulon::settings
