#include "app/VerifyDataSetting.h"

#include "settings/SettingsLocation.h"

namespace kel {

bool ReadVerifyDataSetting(const ProfileFile& settings)
{
    return settings.GetProfileInt(kApplicationSection, kVerifyDataKey, 0) != 0;
}

void WriteVerifyDataSetting(ProfileFile& settings, bool verify)
{
    settings.WriteProfileString(kApplicationSection, kVerifyDataKey, verify ? "1" : "0");
}

}  // namespace kel
