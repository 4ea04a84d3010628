#include "disk/sync_to_disk.h"

#include <QtGlobal>
#include <cerrno>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tabulon::disk {

#ifdef Q_OS_WIN

bool syncToDisk(int fd) {
    // Without a C descriptor there is nothing more to ask of the system than
    // the flush already done.
    return fd < 0 || _commit(fd) == 0;
}

#else

bool syncToDisk(int fd) {
    if (fd < 0) return true;
    while (::fsync(fd) != 0) {
        if (errno == EINTR) continue;
        // Special files take no sync; their bytes are already gone out.
        if (errno == EINVAL || errno == EROFS) return true;
        return false;
    }
    return true;
}

#endif

}  // namespace tabulon::disk
