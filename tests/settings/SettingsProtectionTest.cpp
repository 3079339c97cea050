// A settings file the user protected is never rewritten, and one that is a
// symbolic link is updated at its target and stays a link.

#include "settings/PresetTable.h"
#include "tests/settings/SettingsTestFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace kel {
namespace {

namespace fs = std::filesystem;
using test::kDefaultPresetKeys;
using test::kPresetsWithoutDefault;
using test::ReadBytes;
using test::WriteBytes;

// kPresetsWithoutDefault once "(Default)" has been added to it.
std::string WithDefaultAdded()
{
    std::string text = kPresetsWithoutDefault + "[Preset2]\n" + kDefaultPresetKeys;
    text.replace(text.find("Presets=1"), 9, "Presets=2");
    return text;
}

// Loads the presets of the file at path; the table always gains "(Default)".
void LoadAddingDefault(const std::string& path)
{
    ProfileFile file(path);
    PresetTable table;
    table.LoadPresets(file);
    EXPECT_GE(table.FindPreset("(Default)"), 0);
}

using Protection = test::SettingsFileTest;

TEST_F(Protection, AFileWithoutWritePermissionIsLeftAsItIsEvenByRoot)
{
    WriteBytes(m_path, kPresetsWithoutDefault);
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(m_path, readOnly, fs::perm_options::replace);
    const auto old = test::BackdateFile(m_path);
    LoadAddingDefault(m_path);
    EXPECT_EQ(ReadBytes(m_path), kPresetsWithoutDefault);
    EXPECT_EQ(fs::last_write_time(m_path), old);
    EXPECT_EQ(fs::status(m_path).permissions(), readOnly);
    EXPECT_EQ(m_dir.Entries(), std::vector<std::string> {"KelTally.ini"});
}

TEST_F(Protection, AnotherUsersFileIsNotReplacedThroughAFolderAnyoneMayWrite)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to act as another user";
    }
    WriteBytes(m_path, kPresetsWithoutDefault);  // root's, rw-r--r--
    fs::permissions(m_dir.Path(), fs::perms::all, fs::perm_options::replace);
    const pid_t child = fork();
    if (child == 0) {
        constexpr uid_t nobody = 65534;
        const bool becameNobody = setgid(nobody) == 0 && setuid(nobody) == 0;
        if (becameNobody) {
            LoadAddingDefault(m_path);
        }
        _exit(becameNobody ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadBytes(m_path), kPresetsWithoutDefault);
    EXPECT_EQ(m_dir.Entries(), std::vector<std::string> {"KelTally.ini"});
}

TEST_F(Protection, AUsersFileWrittenByRootStaysTheUsers)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to write another user's file";
    }
    constexpr uid_t nobody = 65534;
    WriteBytes(m_path, kPresetsWithoutDefault);
    ASSERT_EQ(chown(m_path.c_str(), nobody, nobody), 0);
    LoadAddingDefault(m_path);
    EXPECT_EQ(ReadBytes(m_path), WithDefaultAdded());
    struct stat info {};
    ASSERT_EQ(stat(m_path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, nobody);
    EXPECT_EQ(info.st_gid, nobody);
}

TEST_F(Protection, ALinkedFileIsUpdatedAtItsTargetAndStaysALink)
{
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links;  // link, what it holds
        std::string target;                                      // the file the links end at
        bool targetExists;
    } cases[] = {
        {"into a dotfiles folder", {{"config/KelTally.ini", "../dotfiles/KelTally.ini"}}, "dotfiles/KelTally.ini", true},
        {"through a second link",
         {{"config/KelTally.ini", "../dotfiles/link.ini"}, {"dotfiles/link.ini", "kel/KelTally.ini"}},
         "dotfiles/kel/KelTally.ini",
         true},
        {"to a file not made yet", {{"config/KelTally.ini", "../dotfiles/KelTally.ini"}}, "dotfiles/KelTally.ini",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const test::TempDir dir;
        fs::create_directories(dir.Path() + "/config");
        fs::create_directories(dir.Path() + "/dotfiles/kel");
        const std::string target = dir.Path() + "/" + c.target;
        if (c.targetExists) {
            WriteBytes(target, kPresetsWithoutDefault);
        }
        for (const auto& [link, holds] : c.links) {
            fs::create_symlink(holds, dir.Path() + "/" + link);
        }
        LoadAddingDefault(dir.Path() + "/config/KelTally.ini");
        for (const auto& [link, holds] : c.links) {
            EXPECT_EQ(fs::read_symlink(dir.Path() + "/" + link), holds);
        }
        EXPECT_EQ(ReadBytes(target), c.targetExists ? WithDefaultAdded()
                                                    : "[Application]\nPresets=1\n[Preset1]\n" + kDefaultPresetKeys);
        // No temporary file is left beside the link or the target.
        int files = 0;
        for (const auto& entry : fs::recursive_directory_iterator(dir.Path())) {
            files += entry.is_regular_file() && !entry.is_symlink() ? 1 : 0;
        }
        EXPECT_EQ(files, 1);
    }
}

TEST_F(Protection, ALinkToAProtectedFileOrALoopOfLinksChangesNothing)
{
    const std::string target = m_dir.Path() + "/real.ini";
    WriteBytes(target, kPresetsWithoutDefault);
    fs::permissions(target, fs::perms::owner_read, fs::perm_options::replace);
    fs::create_symlink("real.ini", m_path);
    LoadAddingDefault(m_path);
    EXPECT_EQ(ReadBytes(target), kPresetsWithoutDefault);
    EXPECT_TRUE(fs::is_symlink(m_path));

    const std::string loop = m_dir.Path() + "/loop.ini";
    fs::create_symlink("loop-back.ini", loop);
    fs::create_symlink("loop.ini", m_dir.Path() + "/loop-back.ini");
    LoadAddingDefault(loop);
    EXPECT_EQ(fs::read_symlink(loop), "loop-back.ini");
    EXPECT_EQ(m_dir.Entries(), (std::vector<std::string> {"KelTally.ini", "loop-back.ini", "loop.ini", "real.ini"}));
}

}  // namespace
}  // namespace kel
