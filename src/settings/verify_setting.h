#pragma once

namespace tabulon::settings {

class ProfileFile;

// Verify in [Communication]: "1" when the window reads back every record it
// writes ("Проверять запись"). Missing or anything else: it does not. The
// key is written only when the user changes the box, so a file whose user
// never did stays as it was.
bool verifyWritesSetting(const ProfileFile& file);
void keepVerifyWrites(const ProfileFile& file, bool verify);

}  // namespace tabulon::settings
