#include "fleet/fleet_limits.h"

#include <QtGlobal>
#ifndef Q_OS_WIN
#include <sys/resource.h>
#endif

namespace tabulon::fleet {

std::optional<QString> descriptorShortage(int atOnce) {
#ifndef Q_OS_WIN
    const rlim_t needed =
        rlim_t(kDescriptorsOfTheProgram) + rlim_t(atOnce) * kDescriptorsPerRegister;
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
        limit.rlim_cur >= needed)
        return std::nullopt;
    if (limit.rlim_max == RLIM_INFINITY || limit.rlim_max >= needed) {
        limit.rlim_cur = needed;
        if (::setrlimit(RLIMIT_NOFILE, &limit) == 0) return std::nullopt;
    }
    const rlim_t most =
        std::max(limit.rlim_cur, limit.rlim_max == RLIM_INFINITY ? 0 : limit.rlim_max);
    const int fit = int(std::max<rlim_t>(
        1, (most - std::min<rlim_t>(most, kDescriptorsOfTheProgram)) / kDescriptorsPerRegister));
    return QStringLiteral(
               "%1 registers at once need up to %2 open files, and this process may have %3; "
               "run at most %4 at once (--jobs %4) or raise the limit (ulimit -n)")
        .arg(atOnce)
        .arg(qulonglong(needed))
        .arg(qulonglong(most))
        .arg(fit);
#else
    // Windows has no such limit on sockets and handles.
    Q_UNUSED(atOnce);
    return std::nullopt;
#endif
}

}  // namespace tabulon::fleet
