// The pre-run drive check: exact space figures, and real folders and small
// file systems (those where the test may mount them).

#include "drives/DriveCheck.h"
#include "tests/support/EngineDoubles.h"
#include "tests/support/PlantedNames.h"
#include "tests/support/Privileges.h"
#include "tests/support/TempDir.h"
#include "tests/support/TmpfsMount.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

namespace kel {
namespace {

using test::CapturingMessageSink;
using test::RunsAsAdministrator;
using test::TempDir;

std::string SpaceMessage(char letter, const char* megabytes)
{
    return std::string("There is not enough space on drive ") + letter +
           ": to perform\nthe tests.  (An extra " + megabytes + " MB is required.)";
}

using test::TmpfsMount;

#define SKIP_UNLESS_MOUNTED(mount)                                          \
    if (!RunsAsAdministrator()) {                                           \
        GTEST_SKIP() << "mounting a test file system needs root";           \
    }                                                                       \
    if (!(mount).Mounted()) {                                               \
        GTEST_SKIP() << "mounting a test file system is not permitted here"; \
    }

TEST(DriveSpace, RequiredBytesCarryTheMargin)
{
    EXPECT_EQ(RequiredBytes(1, 2400, false), 2949120.0);
    EXPECT_EQ(RequiredBytes(1, 2400, true), 5898240.0);
    // Far beyond 32 bits: 1000 files of about 2 TB each.
    EXPECT_EQ(RequiredBytes(1000, 2000000000, false), 1000.0 * 2000000000.0 * 1024.0 * 1.2);
}

TEST(DriveSpace, ShortfallIsRoundedUpToATenthOfAMegabyte)
{
    const double required = RequiredBytes(1, 2400, false);
    EXPECT_FALSE(SpaceShortfallMessage('C', required, 2949120).has_value()) << "exactly enough passes";
    EXPECT_FALSE(SpaceShortfallMessage('C', required, 2949121).has_value());
    EXPECT_EQ(SpaceShortfallMessage('C', required, 2949120 - 1), SpaceMessage('C', "0.1"));
    EXPECT_EQ(SpaceShortfallMessage('D', required, 2949120 - 900001), SpaceMessage('D', "1.0"));
    EXPECT_EQ(SpaceShortfallMessage('E', required, 2949120 - 1000000), SpaceMessage('E', "1.1"));
    EXPECT_EQ(SpaceShortfallMessage('F', required, 0), SpaceMessage('F', "3.0"));
    // Free space beyond 32 bits is counted whole.
    const double huge = RequiredBytes(1000, 2000000000, false);
    EXPECT_FALSE(SpaceShortfallMessage('G', huge, 3000000000000000ULL).has_value());
    EXPECT_TRUE(SpaceShortfallMessage('G', huge, 2000000000000000ULL).has_value());
}

TEST(DriveCheck, AFolderTheUserNamedIsNamedInsteadOfALetter)
{
    TempDir dir;
    DriveTable drives;
    drives.Register('A', dir.Path() + "/missing");
    drives.Register('B', dir.Path());
    CapturingMessageSink messages;
    EXPECT_EQ(CheckDrive('A', drives, 1, 4, false, messages, dir.Path() + "/missing"), 0);
    EXPECT_EQ(CheckDrive('B', drives, 2000000000, 2000000000, false, messages, "/data/kel"), 0);
    const auto boxes = messages.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Unable to access folder \"" + dir.Path() + "/missing\".");
    EXPECT_EQ(boxes[1].text.rfind("There is not enough space in folder \"/data/kel\" to perform\nthe tests.", 0), 0u);
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(DriveCheck, RefusesDrivesThatCannotBeQueried)
{
    TempDir dir;
    DriveTable drives;
    drives.Register('M', dir.Path() + "/missing");
    CapturingMessageSink messages;
    EXPECT_EQ(CheckDrive('M', drives, 1, 4, false, messages), 0);
    EXPECT_EQ(CheckDrive('Q', drives, 1, 4, false, messages), 0) << "a letter without a drive";
    EXPECT_EQ(CheckDrive(0, drives, 1, 4, false, messages), 0) << "no drive picked";
    const auto boxes = messages.Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, "Unable to access drive M.");
    EXPECT_EQ(boxes[0].type, kPlainBox);
    EXPECT_EQ(boxes[1].text, "Unable to access drive Q.");
    EXPECT_EQ(boxes[2].text, "Unable to access drive ?.");
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(DriveCheck, WritableFolderPassesAndKeepsNoProbe)
{
    TempDir dir;
    DriveTable drives;
    drives.Register('T', dir.Path());
    CapturingMessageSink messages;
    EXPECT_EQ(CheckDrive('T', drives, 1, 4, true, messages), 1);
    EXPECT_EQ(CheckDrive('t', drives, 1, 4, false, messages), 1) << "either case of the letter";
    EXPECT_TRUE(messages.Boxes().empty());
    EXPECT_TRUE(dir.Entries().empty());

    // Too much asked: the space message, and still no probe left behind.
    EXPECT_EQ(CheckDrive('T', drives, 2000000000, 2000000000, false, messages), 0);
    ASSERT_EQ(messages.Boxes().size(), 1u);
    EXPECT_EQ(messages.Boxes()[0].text.rfind("There is not enough space on drive T: to perform\n", 0), 0u);
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(DriveCheck, StaleProbeIsReplacedAndRemoved)
{
    TempDir dir;
    DriveTable drives;
    drives.Register('T', dir.Path());
    CapturingMessageSink messages;

    std::ofstream(dir.Path() + "/" + kProbeFileName) << "left by an interrupted check";
    EXPECT_EQ(CheckDrive('T', drives, 1, 4, false, messages), 1);
    EXPECT_TRUE(dir.Entries().empty());
    EXPECT_TRUE(messages.Boxes().empty());
}

class PlantedProbe : public ::testing::TestWithParam<test::PlantCase> {};

TEST_P(PlantedProbe, IsLeftAloneAndRefusedWithItsReason)
{
    const test::PlantCase& c = GetParam();
    TempDir dir;
    TempDir elsewhere;
    const test::Victim victim(elsewhere.Path() + "/precious");
    const std::string probe = dir.Path() + "/" + kProbeFileName;
    if (!test::Plant(c.kind, probe, victim.Path())) {
        GTEST_SKIP() << "this system does not let the test make a " << c.label << " (devices need root)";
    }
    const std::string planted = test::Identity(probe);
    DriveTable drives;
    drives.Register('T', dir.Path());
    CapturingMessageSink messages;
    EXPECT_EQ(CheckDrive('T', drives, 1, 4, false, messages), 0);
    ASSERT_EQ(messages.Boxes().size(), 1u);
    EXPECT_EQ(messages.Boxes()[0].text,
              "Unable to write to drive T.  (\"" + probe + "\":\n" + std::string(c.reason) + ".)");
    EXPECT_EQ(messages.Boxes()[0].type, kPlainBox);
    EXPECT_EQ(test::Identity(probe), planted);
    EXPECT_TRUE(victim.Unchanged());
}

INSTANTIATE_TEST_SUITE_P(EachKind, PlantedProbe, ::testing::ValuesIn(test::PlantCases()),
                         [](const auto& testInfo) { return std::string(testInfo.param.label); });

// Each reason the probe cannot be made or deleted gets its own words, and no
// probe of the check's stays behind.
TEST(DriveCheck, EachReasonTheProbeFailsIsSaidAsItIs)
{
    if (!RunsAsAdministrator()) {
        GTEST_SKIP() << "folder attributes need root";
    }
    struct Case {
        const char* label;
        std::function<bool(const std::string& dir)> before;  // false: not possible here
        std::function<void(const std::string& dir)> after;
        const char* reason;  // %p stands for the probe's path
    };
    int held = -1;
    rlimit files {};
    const auto attribute = [](const std::string& dir, const char* change) {
        return std::system(("chattr " + std::string(change) + " '" + dir + "' 2>/dev/null").c_str()) == 0;
    };
    const Case cases[] = {
        {"too many open files",
         [&](const std::string&) {
             getrlimit(RLIMIT_NOFILE, &files);
             const int lowest = dup(0);
             close(lowest);
             const rlimit none {static_cast<rlim_t>(lowest), files.rlim_max};
             return setrlimit(RLIMIT_NOFILE, &none) == 0;
         },
         [&](const std::string&) { setrlimit(RLIMIT_NOFILE, &files); }, "Too many files are open at the moment."},
        {"a probe another program holds locked",
         [&](const std::string& dir) {
             held = open((dir + "/" + kProbeFileName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
             return held >= 0 && flock(held, LOCK_EX) == 0;
         },
         [&](const std::string& dir) {
             close(held);
             std::filesystem::remove(dir + "/" + kProbeFileName);
         },
         "\"%p\":\nAnother program holds the file locked, so the program leaves it untouched."},
        {"an immutable folder", [&](const std::string& dir) { return attribute(dir, "+i"); },
         [&](const std::string& dir) { attribute(dir, "-i"); },
         "The system does not permit changes here;\nthe folder may be marked immutable."},
        {"an append-only folder", [&](const std::string& dir) { return attribute(dir, "+a"); },
         [&](const std::string& dir) {
             attribute(dir, "-a");
             EXPECT_TRUE(std::filesystem::remove(dir + "/" + kProbeFileName)) << "the probe that was named";
         },
         "The check's file \"%p\" could not be deleted:\nOperation not permitted; it is still there."},
    };
    for (const Case& c : cases) {
#if defined(__SANITIZE_ADDRESS__)
        // The sanitizers' runtime needs descriptors of its own for its checks.
        if (&c == &cases[0]) {
            continue;
        }
#endif
        TempDir dir;
        DriveTable drives;
        drives.Register('T', dir.Path());
        CapturingMessageSink messages;
        if (!c.before(dir.Path())) {
            c.after(dir.Path());
            ADD_FAILURE() << c.label << ": could not be set up";
            continue;
        }
        const int answer = CheckDrive('T', drives, 1, 4, false, messages);
        c.after(dir.Path());
        EXPECT_EQ(answer, 0) << c.label;
        std::string reason = c.reason;
        if (const auto at = reason.find("%p"); at != std::string::npos) {
            reason.replace(at, 2, dir.Path() + "/" + kProbeFileName);
        }
        ASSERT_EQ(messages.Boxes().size(), 1u) << c.label;
        EXPECT_EQ(messages.Boxes()[0].text, "Unable to write to drive T.  (" + reason + ")") << c.label;
        EXPECT_TRUE(dir.Entries().empty()) << c.label;
    }
}

// A run replaces the program's own files of an earlier run: their space is free for it.
TEST(DriveCheckOnTmpfs, SpaceHeldByTheProgramsOwnLeftoverFilesCountsAsFree)
{
    TmpfsMount mount("size=2m");
    SKIP_UNLESS_MOUNTED(mount);
    DriveTable drives;
    drives.Register('S', mount.Path());
    CapturingMessageSink messages;
    const std::string leftover = mount.Path() + "/~kelt00x.tmp";
    std::ofstream(leftover) << std::string(1200 * 1024, 'x');
    // 1,258,291 bytes needed: only with the leftover's 1,228,800 bytes counted.
    EXPECT_EQ(CheckDrive('S', drives, 1, 1024, false, messages), 1);
    EXPECT_TRUE(messages.Boxes().empty());
    // Another owner's file under the name is not the run's to replace.
    ASSERT_EQ(chown(leftover.c_str(), 54321, 54321), 0);
    EXPECT_EQ(CheckDrive('S', drives, 1, 1024, false, messages), 0);
    ASSERT_EQ(messages.Boxes().size(), 1u);
    EXPECT_EQ(messages.Boxes()[0].text.rfind("There is not enough space on drive S:", 0), 0u);
    EXPECT_EQ(mount.Entries(), std::vector<std::string> {"~kelt00x.tmp"});
}

TEST(DriveCheckOnTmpfs, ReadOnlyMediumIsSaidToBeReadOnlyBeforeTheSpaceMessage)
{
    TmpfsMount mount("ro,size=1m");
    SKIP_UNLESS_MOUNTED(mount);
    DriveTable drives;
    drives.Register('R', mount.Path());
    CapturingMessageSink messages;
    EXPECT_EQ(CheckDrive('R', drives, 10, 2400, false, messages), 0) << "too small as well";
    ASSERT_EQ(messages.Boxes().size(), 1u);
    EXPECT_EQ(messages.Boxes()[0].text, "Unable to write to drive R.  (The file system is mounted read-only.)");
    EXPECT_EQ(messages.Boxes()[0].type, kPlainBox);
    EXPECT_TRUE(mount.Entries().empty());
}

TEST(DriveCheckOnTmpfs, SmallFileSystemGetsTheSpaceMessage)
{
    TmpfsMount mount("size=2m");
    SKIP_UNLESS_MOUNTED(mount);
    DriveTable drives;
    drives.Register('S', mount.Path());
    CapturingMessageSink messages;
    // 2,949,120 bytes required, 2,097,152 free: 851,968 missing, shown as 1.0.
    EXPECT_EQ(CheckDrive('S', drives, 1, 2400, false, messages), 0);
    ASSERT_EQ(messages.Boxes().size(), 1u);
    EXPECT_EQ(messages.Boxes()[0].text, SpaceMessage('S', "1.0"));
    EXPECT_TRUE(mount.Entries().empty());

    EXPECT_EQ(CheckDrive('S', drives, 1, 1024, false, messages), 1) << "1,258,291 bytes fit";
    EXPECT_EQ(messages.Boxes().size(), 1u);
    EXPECT_TRUE(mount.Entries().empty());
}

}  // namespace
}  // namespace kel
