#pragma once

#include <QString>

namespace tabulon::settings {

class ProfileFile;

// The [Folders] section: for each kind of file ("art", "bmp", ...), the
// folder a file dialog last took such a file from or put it in, so that
// the next dialog of that kind opens there. Empty when none is kept.
QString rememberedFolder(const ProfileFile& file, const QString& kind);
// Written key by key as the program writes its other settings; a file that
// cannot be written keeps what it had.
void rememberFolder(const ProfileFile& file, const QString& kind, const QString& folder);

}  // namespace tabulon::settings
