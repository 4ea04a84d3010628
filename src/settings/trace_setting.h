#pragma once

#include <QString>

namespace tabulon::settings {

class ProfileFile;

// Trace in [Communication]: the file the window records every byte of the
// line into, as `tabulon --trace FILE` does; empty for no trace. Read only:
// the program never writes it.
QString traceFileSetting(const ProfileFile& file);

}  // namespace tabulon::settings
