// Where the settings file lies on Linux.

#include "settings/SettingsLocation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace kel {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the life of the object, then restores it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value)
        : m_name(name)
    {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        Set(value);
    }
    ~ScopedEnv() { Set(m_old ? m_old->c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Set(const char* value)
    {
        if (value != nullptr) {
            setenv(m_name, value, 1);
        } else {
            unsetenv(m_name);
        }
    }
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(SettingsLocation, ConfigHomeOrHomeConfig)
{
    const ScopedEnv home("HOME", "/home/tester");
    {
        const ScopedEnv config("XDG_CONFIG_HOME", "/tmp/cfg");
        EXPECT_EQ(SettingsFilePath(), fs::path("/tmp/cfg/KelTally.ini"));
    }
    {
        const ScopedEnv config("XDG_CONFIG_HOME", "");
        EXPECT_EQ(SettingsFilePath(), fs::path("/home/tester/.config/KelTally.ini"));
    }
    {
        const ScopedEnv config("XDG_CONFIG_HOME", "relative/cfg");
        EXPECT_EQ(SettingsFilePath(), fs::path("/home/tester/.config/KelTally.ini"));
    }
    const ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(SettingsFilePath(), fs::path("/home/tester/.config/KelTally.ini"));
}

}  // namespace
}  // namespace kel
