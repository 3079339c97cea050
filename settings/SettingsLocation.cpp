#include "settings/SettingsLocation.h"

#include <cstdlib>

namespace kel {

namespace {

constexpr const char* kSettingsFileName = "KelTally.ini";

std::filesystem::path EnvironmentPath(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}

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
