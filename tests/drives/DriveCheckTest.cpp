// The pre-run drive check: exact space figures, and real folders and small
// file systems (those where the test may mount them).

#include "drives/DriveCheck.h"
#include "tests/support/EngineDoubles.h"
#include "tests/support/PlantedNames.h"
#include "tests/support/Privileges.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace kel {
namespace {

using test::CapturingMessageSink;
using test::RunsAsAdministrator;
using test::TempDir;

const char* const kWriteMessage =
    "Unable to write to drive %c.  (You must have\nwrite access to perform the tests.)";

std::string WithLetter(const char* format, char letter)
{
    std::string text = format;
    text.replace(text.find("%c"), 2, 1, letter);
    return text;
}

std::string SpaceMessage(char letter, const char* megabytes)
{
    return std::string("There is not enough space on drive ") + letter +
           ": to perform\nthe tests.  (An extra " + megabytes + " MB is required.)";
}

// A tmpfs mounted on a fresh folder for the life of the object.
class TmpfsMount {
public:
    explicit TmpfsMount(const std::string& options)
    {
        const std::string command =
            "mount -t tmpfs -o " + options + " kelt-drive-test '" + m_folder.Path() + "' 2>/dev/null";
        m_mounted = !m_folder.Path().empty() && std::system(command.c_str()) == 0;
    }
    ~TmpfsMount()
    {
        if (m_mounted) {
            const std::string command = "umount '" + m_folder.Path() + "' 2>/dev/null || umount -l '" +
                                        m_folder.Path() + "' 2>/dev/null";
            [[maybe_unused]] const int ignored = std::system(command.c_str());
        }
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool Mounted() const { return m_mounted; }
    const std::string& Path() const { return m_folder.Path(); }
    std::vector<std::string> Entries() const { return m_folder.Entries(); }

private:
    TempDir m_folder;  // outlives the mount: destroyed after the unmount above
    bool m_mounted = false;
};

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

TEST(DriveCheckOnTmpfs, ReadOnlyMediumGetsTheWriteMessageBeforeTheSpaceMessage)
{
    TmpfsMount mount("ro,size=1m");
    SKIP_UNLESS_MOUNTED(mount);
    DriveTable drives;
    drives.Register('R', mount.Path());
    CapturingMessageSink messages;
    EXPECT_EQ(CheckDrive('R', drives, 10, 2400, false, messages), 0) << "too small as well";
    ASSERT_EQ(messages.Boxes().size(), 1u);
    EXPECT_EQ(messages.Boxes()[0].text, WithLetter(kWriteMessage, 'R'));
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
