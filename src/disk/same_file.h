#pragma once

#include <QString>

namespace tabulon::disk {

// Whether two names stand for one file. Where both exist, by the file itself
// (device and inode), so that a link, a hard link or another spelling of the
// path is seen through; where neither does, by the absolute path a file
// created under each would get. A name that exists and one that does not are
// two files: a file not made yet holds nothing to lose.
bool sameFile(const QString& first, const QString& second);

}  // namespace tabulon::disk
