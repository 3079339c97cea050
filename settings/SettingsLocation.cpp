#include "settings/SettingsLocation.h"

#include "platform/SettingsFileSystem.h"

namespace kel {

namespace {

constexpr const char* kSettingsFileName = "KelTally.ini";

}  // namespace

std::filesystem::path SettingsFilePath()
{
    const std::filesystem::path configHome = EnvironmentPath("XDG_CONFIG_HOME");
    if (configHome.is_absolute()) {
        return configHome / kSettingsFileName;
    }
    const std::filesystem::path home = EnvironmentPath("HOME");
    if (!home.empty()) {
        return home / ".config" / kSettingsFileName;
    }
    return kSettingsFileName;
}

}  // namespace kel
