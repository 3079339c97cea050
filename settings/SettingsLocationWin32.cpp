#include "settings/SettingsLocation.h"

#include "platform/SettingsFileSystem.h"

#include <system_error>

namespace kel {

namespace {

constexpr const char* kSettingsFileName = "KelTally.ini";
constexpr const char* kSettingsFolderName = "KelTally";

}  // namespace

std::filesystem::path PortableOrUserSettingsPath(const std::filesystem::path& programFolder,
                                                 const std::filesystem::path& appDataFolder)
{
    const std::filesystem::path beside = programFolder / kSettingsFileName;
    std::error_code error;
    if (std::filesystem::exists(beside, error) || !appDataFolder.is_absolute()) {
        return beside;
    }
    return appDataFolder / kSettingsFolderName / kSettingsFileName;
}

std::filesystem::path SettingsFilePath()
{
    return PortableOrUserSettingsPath(ProgramFolder(), EnvironmentPath("APPDATA"));
}

}  // namespace kel
