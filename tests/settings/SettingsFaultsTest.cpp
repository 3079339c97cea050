// Writing the default preset back when the settings folder cannot take it:
// a read-only file system and a full one. The file that was there stays whole
// and the program goes on with the preset in its table.

#include "settings/PresetTable.h"
#include "tests/settings/SettingsTestFiles.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace kel::test {
namespace {

// A small tmpfs of its own, unmounted at the end.
class SmallFileSystem : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0) {
            GTEST_SKIP() << "needs root to mount";
        }
        if (std::system(("mount -t tmpfs -o size=64k kelt-test " + m_mount.Path() + " 2>/dev/null").c_str()) != 0) {
            GTEST_SKIP() << "tmpfs could not be mounted here";
        }
        m_mounted = true;
        m_path = m_mount.Path() + "/KelTally.ini";
        WriteBytes(m_path, kPresetsWithoutDefault);
    }
    void TearDown() override
    {
        if (m_mounted) {
            std::system(("umount " + m_mount.Path()).c_str());
        }
    }
    void ExpectDefaultKeptOnlyInTheTable()
    {
        ProfileFile file(m_path);
        PresetTable presets;
        presets.LoadPresets(file);
        EXPECT_EQ(presets.Count(), 2);
        EXPECT_EQ(presets.FindPreset("(Default)"), 1);
        EXPECT_EQ(ReadBytes(m_path), kPresetsWithoutDefault);
    }

    TempDir m_mount;
    std::string m_path;
    bool m_mounted = false;
};

TEST_F(SmallFileSystem, AReadOnlyFolderLeavesTheFileAsItWas)
{
    ASSERT_EQ(std::system(("mount -o remount,ro " + m_mount.Path()).c_str()), 0);
    ExpectDefaultKeptOnlyInTheTable();
}

TEST_F(SmallFileSystem, ALinkIntoAReadOnlyFolderLeavesLinkAndFileAsTheyWere)
{
    ASSERT_EQ(std::system(("mount -o remount,ro " + m_mount.Path()).c_str()), 0);
    const TempDir config;
    const std::string link = config.Path() + "/KelTally.ini";
    std::filesystem::create_symlink(m_path, link);
    ProfileFile file(link);
    PresetTable presets;
    presets.LoadPresets(file);
    EXPECT_EQ(presets.FindPreset("(Default)"), 1);
    EXPECT_EQ(std::filesystem::read_symlink(link), m_path);
    EXPECT_EQ(ReadBytes(m_path), kPresetsWithoutDefault);
    EXPECT_EQ(config.Entries(), std::vector<std::string> {"KelTally.ini"});
}

TEST_F(SmallFileSystem, AFullFileSystemLeavesTheFileWholeAndNoTemporaryFile)
{
    // Fill what is left, so the rewritten file cannot be written beside it.
    std::system(("dd if=/dev/zero of=" + m_mount.Path() + "/filler bs=1k count=1000 2>/dev/null").c_str());
    ExpectDefaultKeptOnlyInTheTable();
    EXPECT_EQ(m_mount.Entries(), (std::vector<std::string> {"KelTally.ini", "filler"}));
}

}  // namespace
}  // namespace kel::test
