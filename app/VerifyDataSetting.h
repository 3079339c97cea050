#pragma once
// Whether runs verify their data: key "VerifyData" of section "Application",
// 1 or 0. The dialog reads it once when it opens and writes it whenever the
// user turns Verify Data on or off.

#include "settings/ProfileFile.h"

namespace kel {

// Off when the key is missing or holds anything but a nonzero number.
bool ReadVerifyDataSetting(const ProfileFile& settings);

// Like every write of the program's settings, a failure goes unreported.
void WriteVerifyDataSetting(ProfileFile& settings, bool verify);

}  // namespace kel
