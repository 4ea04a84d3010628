#include "settings/trace_setting.h"

#include "settings/profile_file.h"

namespace tabulon::settings {

QString traceFileSetting(const ProfileFile& file) {
    return file.read(QStringLiteral("Communication"), QStringLiteral("Trace"), QString(), 499);
}

}  // namespace tabulon::settings
