#include "settings/verify_setting.h"

#include "settings/profile_file.h"

namespace tabulon::settings {

namespace {
const QString kSection = QStringLiteral("Communication");
const QString kKey = QStringLiteral("Verify");
}  // namespace

bool verifyWritesSetting(const ProfileFile& file) {
    return file.read(kSection, kKey, QStringLiteral("0"), 9) == u'1';
}

void keepVerifyWrites(const ProfileFile& file, bool verify) {
    file.write(kSection, kKey, verify ? QStringLiteral("1") : QStringLiteral("0"));
}

}  // namespace tabulon::settings
