// The reports' file services on Windows: paths of both separators and drive
// roots, a file replaced whole, one file under two spellings, helper programs.

#include "platform/ReportFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace kel {
namespace {

std::string Contents(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(Win32ReportFiles, PathsKeepTheirDriveRootAndTakeEitherSeparator)
{
    const struct {
        const char* path;
        const char* absolute;
        const char* folder;
        const char* name;
    } cases[] = {
        {"C:\\a\\\\b\\.\\c\\..\\d\\", "C:\\a\\b\\d", "C:\\a\\\\b\\.\\c\\..\\d", ""},
        {"C:/x/../y", "C:\\y", "C:/x/..", "y"},
        {"C:\\..", "C:\\", "C:\\", ".."},
        {"C:\\x", "C:\\x", "C:\\", "x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AbsolutePath(c.path), c.absolute) << c.path;
        EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
        EXPECT_EQ(NameOf(c.path), c.name) << c.path;
    }
    EXPECT_EQ(FolderOf("b"), ".");
    EXPECT_EQ(AbsolutePath(""), AbsolutePath("."));
    EXPECT_EQ(ProgramFileName("keltally-views"), "keltally-views.exe");
}

TEST(Win32ReportFiles, AFileIsReplacedWholeAndKnownUnderEverySpelling)
{
    const test::TempDir dir;
    const std::string target = dir.Path() + "\\Run.json";
    ASSERT_EQ(ReplaceFileWhole(target, "first"), 0);
    ASSERT_EQ(ReplaceFileWhole(target, "second, longer"), 0);
    EXPECT_EQ(Contents(target), "second, longer");
    EXPECT_EQ(dir.Entries(), std::vector<std::string> {"Run.json"});  // no temporary left

    const PathFacts facts = FactsOf(target);
    EXPECT_EQ(facts.kind, PathKind::RegularFile);
    EXPECT_TRUE(facts.writable);
    const PathFacts other = FactsOf(dir.Path() + "/sub/../RUN.JSON");
    EXPECT_EQ(std::tie(other.device, other.inode), std::tie(facts.device, facts.inode));
    EXPECT_EQ(FactsOf(dir.Path()).kind, PathKind::Folder);
    EXPECT_EQ(FactsOf("NUL").kind, PathKind::Other);
    EXPECT_EQ(FactsOf(dir.Path() + "\\missing").kind, PathKind::Missing);
    EXPECT_EQ(AppendToFile(target, "!"), 0);
    EXPECT_EQ(Contents(target), "second, longer!");

    // A failed replacement leaves the old file and no temporary.
    EXPECT_NE(ReplaceFileWhole(dir.Path() + "\\gone\\x.json", "x"), 0);
    EXPECT_EQ(MakeFolders(dir.Path() + "\\a/b\\c"), 0);
    EXPECT_EQ(FactsOf(dir.Path() + "\\a\\b\\c").kind, PathKind::Folder);
    EXPECT_EQ(ProbeCreateIn(dir.Path() + "\\a"), 0);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string> {"Run.json", "a"}));
    EXPECT_EQ(ResolvedPath(dir.Path() + "\\a\\b\\..\\b"), ResolvedPath(dir.Path()) + "\\a\\b");
}

TEST(Win32ReportFiles, HelperProgramsGiveTheirExitCodeOrWhyTheyDidNotStart)
{
    const std::string shell = "C:\\windows\\system32\\cmd.exe";
    EXPECT_TRUE(IsExecutableFile(shell));
    EXPECT_FALSE(IsExecutableFile(ExecutableFolder()));
    const ChildResult ended = RunChildProcess(shell, {shell, "/c", "exit 7"}, "input the child never reads");
    EXPECT_EQ(std::tie(ended.exitCode, ended.startError), std::make_tuple(7, 0));
    const ChildResult missing = RunChildProcess(ExecutableFolder() + "\\missing.exe", {"missing"}, "");
    EXPECT_EQ(missing.exitCode, -1);
    EXPECT_NE(missing.startError, 0);
}

}  // namespace
}  // namespace kel
