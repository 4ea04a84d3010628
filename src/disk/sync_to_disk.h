#pragma once

namespace tabulon::disk {

// Waits until what was written through the C file descriptor `fd` is on the
// storage itself, not only in the system's cache: a full disk or a quota
// often shows only here. False with errno set when the system says it is
// not; a descriptor that cannot be synced (a pipe, a terminal) counts as
// synced.
bool syncToDisk(int fd);

}  // namespace tabulon::disk
