// Where the settings file lies on Windows, and how a read-only one is kept.

#include "settings/SettingsFileIo.h"
#include "settings/SettingsLocation.h"
#include "tests/settings/SettingsTestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kel {
namespace {

namespace fs = std::filesystem;

TEST(WindowsSettingsPlace, BesideAPortableProgramElseInTheUsersApplicationData)
{
    test::TempDir program;
    test::TempDir appData;
    const fs::path programFolder = program.Path();
    const fs::path user = fs::path(appData.Path()) / "KelTally" / "KelTally.ini";
    struct Case {
        const char* what;
        fs::path appData;
        bool besideProgram;
        fs::path expected;
    };
    const Case cases[] = {
        {"installed", appData.Path(), false, user},
        {"portable", appData.Path(), true, programFolder / "KelTally.ini"},
        {"no application data", fs::path(), false, programFolder / "KelTally.ini"},
    };
    for (const Case& c : cases) {
        if (c.besideProgram) {
            test::WriteBytes((programFolder / "KelTally.ini").string(), "");
        }
        EXPECT_EQ(PortableOrUserSettingsPath(programFolder, c.appData), c.expected) << c.what;
    }
}

TEST(WindowsSettingsFile, IsWrittenUnderAUnicodeNameAndAReadOnlyOneIsLeftAlone)
{
    test::TempDir dir;
    const fs::path folder = fs::path(dir.Path()) / L"Ke\u0142 \u00e9t\u00e9";
    const fs::path file = folder / "KelTally.ini";
    ASSERT_TRUE(ReplaceSettingsFile(file, "[Application]\r\nPresets=1\r\n"));
    EXPECT_EQ(ReadSettingsFile(file), "[Application]\r\nPresets=1\r\n");
    ASSERT_TRUE(ReplaceSettingsFile(file, "[Application]\r\nPresets=2\r\n"));
    EXPECT_EQ(ReadSettingsFile(file), "[Application]\r\nPresets=2\r\n");

    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(ReplaceSettingsFile(file, "changed"));
    EXPECT_EQ(ReadSettingsFile(file), "[Application]\r\nPresets=2\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);  // no temporary left
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
}

}  // namespace
}  // namespace kel
