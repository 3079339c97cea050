#include "tests/settings/SettingsTestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kel {
namespace {

namespace fs = std::filesystem;

class ProfileWrite : public test::SettingsFileTest {
protected:
    // Starts from text, writes one key and returns the file's bytes.
    std::string After(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value)
    {
        test::WriteBytes(m_path, text);
        EXPECT_TRUE(m_file.WriteProfileString(section, key, value));
        return test::ReadBytes(m_path);
    }

};

TEST_F(ProfileWrite, CreatesFileDirectoriesAndSectionWithLf)
{
    ProfileFile nested(m_dir.Path() + "/config/sub/KelTally.ini");
    ASSERT_TRUE(nested.WriteProfileString("Application", "Presets", "1"));
    ASSERT_TRUE(nested.WriteProfileString("Preset1", "Name", "(Default)"));
    EXPECT_EQ(test::ReadBytes(nested.Path().string()), "[Application]\nPresets=1\n[Preset1]\nName=(Default)\n");
    EXPECT_EQ(nested.GetProfileInt("application", "presets", 0), 1);
}

TEST_F(ProfileWrite, ChangesAnExistingKeyInPlaceKeepingTheFilesSpelling)
{
    EXPECT_EQ(After("[PRESET1]\n  nAmE =  Old value  \nx=1\n", "Preset1", "Name", "New"),
              "[PRESET1]\n  nAmE =  New\nx=1\n");
    EXPECT_EQ(After("[A]\nName\nName=Later\n", "A", "name", "Set"), "[A]\nName=Set\nName=Later\n");
    EXPECT_EQ(After("[A]\nk=one\nk=two\n", "A", "K", "3"), "[A]\nk=3\nk=two\n");
    EXPECT_EQ(After("[A]\nk=\n", "A", "k", "filled"), "[A]\nk=filled\n");
    EXPECT_EQ(After("[A]\nk=old", "A", "k", "new"), "[A]\nk=new");
}

TEST_F(ProfileWrite, NewKeyGoesAfterTheLastLineOfTheFirstSection)
{
    const std::string text = "[A]\nx=1\n; note\n\n\n[B]\ny=2\n[a]\nk=later\n";
    test::WriteBytes(m_path, text);
    ASSERT_TRUE(m_file.WriteProfileString("A", "k", "v"));
    ASSERT_TRUE(m_file.WriteProfileString("A", "m", "w"));
    EXPECT_EQ(test::ReadBytes(m_path), "[A]\nx=1\n; note\nk=v\nm=w\n\n\n[B]\ny=2\n[a]\nk=later\n");
    EXPECT_EQ(m_file.GetProfileString("A", "k", "", 64), "v");

    EXPECT_EQ(After("[A]", "A", "k", "v"), "[A]\nk=v");
    EXPECT_EQ(After("[A]\nx=1", "A", "k", "v"), "[A]\nx=1\nk=v");
}

TEST_F(ProfileWrite, NewSectionGoesAtTheEnd)
{
    EXPECT_EQ(After("top=1\n[A]\nx=1\n\n", "B", "k", "v"), "top=1\n[A]\nx=1\n\n[B]\nk=v\n");
    EXPECT_EQ(After("[A]\nx=1", "B", "k", "v"), "[A]\nx=1\n[B]\nk=v\n");
    EXPECT_EQ(After("", "B", "k", "v"), "[B]\nk=v\n");
}

TEST_F(ProfileWrite, NewLinesTakeTheFilesOwnLineEnding)
{
    test::WriteBytes(m_path, "[A]\r\nx=1\r\n");
    ASSERT_TRUE(m_file.WriteProfileString("A", "k", "v"));
    ASSERT_TRUE(m_file.WriteProfileString("B", "m", "w"));
    EXPECT_EQ(test::ReadBytes(m_path), "[A]\r\nx=1\r\nk=v\r\n[B]\r\nm=w\r\n");

    EXPECT_EQ(After("[A]\rx=1", "A", "k", "v"), "[A]\rx=1\rk=v");
    EXPECT_EQ(After("[A]\r\nx=1", "B", "k", "v"), "[A]\r\nx=1\r\n[B]\r\nk=v\r\n");
}

TEST_F(ProfileWrite, KeepsEveryOtherByteOfTheFile)
{
    const std::string head = std::string("\xEF\xBB\xBF; settings\r\n\r\n  [ Preset1 ] old\n\tName = \"Fast\" \r") +
                             "#x=1\n\n";
    const std::string tail = std::string("\n\x1A\n[Preset2]\nName=caf\xE9\0junk\r\n   \nlast", 37);
    const std::string text = head + "NumFiles=  3\t" + tail;
    EXPECT_EQ(After(text, "preset1", "NUMFILES", "12"), head + "NumFiles=  12" + tail);
}

TEST_F(ProfileWrite, LeavesTheFileUntouchedWhenTheValueIsAlreadyThere)
{
    test::WriteBytes(m_path, "[A]\nk = \"v\" \nn=0x10\n");
    const auto old = test::BackdateFile(m_path);
    EXPECT_TRUE(m_file.WriteProfileString("a", "K", "v"));
    EXPECT_EQ(fs::last_write_time(m_path), old);
    EXPECT_EQ(test::ReadBytes(m_path), "[A]\nk = \"v\" \nn=0x10\n");
    // Same number, other spelling: the text differs, so it is written.
    EXPECT_TRUE(m_file.WriteProfileString("A", "n", "16"));
    EXPECT_EQ(test::ReadBytes(m_path), "[A]\nk = \"v\" \nn=16\n");
}

TEST_F(ProfileWrite, QuotesValuesThatWouldNotReadBackAsWritten)
{
    for (const std::string value : {"  Fast  ", "\"x\"", "'y'", "\tz", "\"open", ""}) {
        ASSERT_TRUE(m_file.WriteProfileString("A", "k", value)) << value;
        EXPECT_EQ(m_file.GetProfileString("A", "k", "<missing>", 64), value) << value;
    }
}

TEST_F(ProfileWrite, RefusesNamesAndValuesThatCannotBeStored)
{
    const std::string text = "[A]\nk=1\n";
    test::WriteBytes(m_path, text);
    EXPECT_FALSE(m_file.WriteProfileString("A", "k", "1\n[Evil]\nk=2"));
    EXPECT_FALSE(m_file.WriteProfileString("A", "k", "1\rx"));
    EXPECT_FALSE(m_file.WriteProfileString("A", "k", std::string("a\0b", 3)));
    EXPECT_FALSE(m_file.WriteProfileString("A\n[B]", "k", "1"));
    EXPECT_FALSE(m_file.WriteProfileString(" A", "k", "1"));
    EXPECT_FALSE(m_file.WriteProfileString("", "k", "1"));
    EXPECT_FALSE(m_file.WriteProfileString("A", "k=x", "1"));
    EXPECT_FALSE(m_file.WriteProfileString("A", ";k", "1"));
    EXPECT_FALSE(m_file.WriteProfileString("A", "[k]", "1"));
    EXPECT_FALSE(m_file.WriteProfileString("A", "", "1"));
    EXPECT_EQ(test::ReadBytes(m_path), text);
}

TEST_F(ProfileWrite, FailedWritesReturnFalseAndLeaveWhatWasThere)
{
    // The settings path is a directory holding a file.
    fs::create_directory(m_path);
    test::WriteBytes(m_path + "/inside", "keep");
    EXPECT_FALSE(m_file.WriteProfileString("A", "k", "v"));
    EXPECT_TRUE(fs::is_directory(m_path));
    EXPECT_EQ(test::ReadBytes(m_path + "/inside"), "keep");

    // The settings directory cannot be made: a regular file is in its place.
    const std::string blocker = m_dir.Path() + "/blocker";
    test::WriteBytes(blocker, "[A]\nk=1\n");
    ProfileFile blocked(blocker + "/KelTally.ini");
    EXPECT_FALSE(blocked.WriteProfileString("A", "k", "2"));
    EXPECT_EQ(test::ReadBytes(blocker), "[A]\nk=1\n");

    // No temporary file is left behind.
    EXPECT_EQ(m_dir.Entries(), (std::vector<std::string> {"KelTally.ini", "blocker"}));
}

TEST_F(ProfileWrite, ReplacedFileKeepsItsPermissionsAndLeavesNoTemporaryFile)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps no permission bits (SettingsWin32Test has its read-only attribute)";
#endif
    test::WriteBytes(m_path, "[A]\nk=1\n");
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(m_path, perms, fs::perm_options::replace);
    ASSERT_TRUE(m_file.WriteProfileString("A", "k", "2"));
    EXPECT_EQ(fs::status(m_path).permissions(), perms);
    EXPECT_EQ(m_dir.Entries(), std::vector<std::string> {"KelTally.ini"});
}

TEST_F(ProfileWrite, WritesThroughASymbolicLink)
{
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need privileges on Windows and are Unix links under Wine";
#endif
    const std::string real = m_dir.Path() + "/real.ini";
    test::WriteBytes(real, "[A]\nk=1\n");
    fs::create_symlink("real.ini", m_path);
    ASSERT_TRUE(m_file.WriteProfileString("A", "k", "2"));
    EXPECT_TRUE(fs::is_symlink(m_path));
    EXPECT_EQ(test::ReadBytes(real), "[A]\nk=2\n");
}

}  // namespace
}  // namespace kel
