// The Windows test-file back-end on a real folder (under Wine in CI, which
// neither bypasses the cache nor checks alignment: the back-end must).

#include "engine/DriveTester.h"
#include "platform/AlignedBuffer.h"
#include "platform/ForeignNames.h"
#include "platform/SystemError.h"
#include "platform/VolumeInfo.h"
#include "platform/win32/Win32FileBackend.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/WinText.h"
#include "tests/support/EngineFixture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

namespace kel {
namespace {

class Win32Files : public ::testing::Test {
protected:
    std::string PathOf(const char* name) const { return m_dir.Path() + "\\" + name; }
    int Open(const char* name, TestFileMode mode, std::uint32_t granule)
    {
        return m_files.Open(m_folder.Descriptor(), name, mode, granule);
    }

    test::TempDir m_dir;
    Win32FileBackend m_files;
    FolderHandle m_folder {&m_files, m_files.OpenFolder(m_dir.Path().c_str())};
    AlignedBuffer m_buffer {65536 + 4096, 4096};
};

TEST_F(Win32Files, WritesAndReadsBackUnbufferedAndDeletes)
{
    FileHandle out(&m_files, Open("~kelt00x.tmp", TestFileMode::CreateReadWrite, 65536));
    ASSERT_TRUE(out.IsOpen());
    EXPECT_TRUE(m_files.TransfersDirectly(out.Descriptor()));
    EXPECT_EQ(out.Write(m_buffer.Data(), 65536), 65536);
    ASSERT_TRUE(out.Close());
    EXPECT_EQ(std::filesystem::file_size(PathOf("~kelt00x.tmp")), 65536u);

    FileHandle in(&m_files, Open("~kelt00x.tmp", TestFileMode::OpenRead, 65536));
    EXPECT_EQ(in.Read(m_buffer.Data(), 65536), 65536);
    EXPECT_EQ(in.Read(m_buffer.Data(), 65536), 0);
    EXPECT_EQ(LastSystemError(), ERROR_HANDLE_EOF);
    ASSERT_TRUE(in.Close());
    EXPECT_TRUE(m_files.Remove(m_folder.Descriptor(), "~kelt00x.tmp"));
    EXPECT_FALSE(m_files.Remove(m_folder.Descriptor(), "~kelt00x.tmp"));
    EXPECT_EQ(LastSystemError(), kErrorNotFound);
    EXPECT_TRUE(m_dir.Entries().empty());
}

TEST_F(Win32Files, MisalignedUnbufferedTransfersAreRefusedByTheBackEnd)
{
    struct Case {
        const char* what;
        std::size_t offset;
        std::uint32_t bytes;
    };
    const Case cases[] = {{"buffer off a sector boundary", 1, 4096}, {"size not whole sectors", 0, 1000}};
    FileHandle out(&m_files, Open("~kelt00x.tmp", TestFileMode::CreateReadWrite, 4096));
    ASSERT_TRUE(m_files.TransfersDirectly(out.Descriptor()));
    for (const Case& c : cases) {
        EXPECT_EQ(out.Write(m_buffer.Data() + c.offset, c.bytes), -1) << c.what;
        EXPECT_EQ(LastSystemError(), ERROR_INVALID_PARAMETER) << c.what;
        EXPECT_EQ(out.Read(m_buffer.Data() + c.offset, c.bytes), -1) << c.what;
    }
    EXPECT_EQ(std::filesystem::file_size(PathOf("~kelt00x.tmp")), 0u);
    // A granularity below the sector size opens write-through and buffered instead.
    FileHandle fallback(&m_files, Open("~kelt01x.tmp", TestFileMode::CreateReadWrite, 256));
    EXPECT_FALSE(m_files.TransfersDirectly(fallback.Descriptor()));
    EXPECT_EQ(fallback.Write(m_buffer.Data() + 1, 256), 256);
}

TEST_F(Win32Files, ASecondRunInTheSameFolderIsRefusedUntilTheFirstEnds)
{
    ASSERT_TRUE(m_folder.IsOpen());
    Win32FileBackend other;
    for (const std::string& path : {m_dir.Path(), m_dir.Path() + "\\.", m_dir.Path() + "\\"}) {
        EXPECT_EQ(other.OpenFolder(path.c_str()), -1) << path;
        EXPECT_EQ(LastSystemError(), kErrorInUse) << path;
    }
    // The held folder cannot be renamed away under the run.
    EXPECT_FALSE(MoveFileW(Widen(m_dir.Path()).c_str(), Widen(m_dir.Path() + "-moved").c_str()));
    ASSERT_TRUE(m_folder.Close());
    FolderHandle second(&other, other.OpenFolder(m_dir.Path().c_str()));
    EXPECT_TRUE(second.IsOpen());
}

TEST_F(Win32Files, NamesHeldByOthersAreLeftAlone)
{
    std::ofstream(PathOf("original")) << "someone's data";
    const bool hardLink = CreateHardLinkW(Widen(PathOf("~kelt00x.tmp")).c_str(), Widen(PathOf("original")).c_str(),
                                          nullptr) != 0;
    // Wine 8 makes a symbolic link as a Unix one that does not lead to its
    // target: counted only where it is a reparse point that leads there.
    const bool symbolicLink = CreateSymbolicLinkW(Widen(PathOf("~kelt01x.tmp")).c_str(),
                                                  Widen(PathOf("original")).c_str(), 0) != 0 &&
                              (GetFileAttributesW(Widen(PathOf("~kelt01x.tmp")).c_str()) &
                               FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
                              std::filesystem::exists(PathOf("~kelt01x.tmp"));
    std::filesystem::create_directory(PathOf("~kelt02x.tmp"));
    struct Case {
        const char* name;
        bool planted;
        ForeignName kind;
    };
    const Case cases[] = {{"~kelt00x.tmp", hardLink, ForeignName::HardLinked},
                          {"~kelt01x.tmp", symbolicLink, ForeignName::SymbolicLink},
                          {"~kelt02x.tmp", true, ForeignName::Folder}};
    for (const Case& c : cases) {
        if (!c.planted) {
            std::cout << "[ SKIPPED  ] " << c.name << ": the system made no such link here\n";
            continue;
        }
        EXPECT_EQ(Open(c.name, TestFileMode::CreateReadWrite, 65536), -1) << c.name;
        EXPECT_EQ(LastSystemError(), ForeignNameCode(c.kind)) << c.name;
        EXPECT_FALSE(m_files.Remove(m_folder.Descriptor(), c.name)) << c.name;
        EXPECT_EQ(LastSystemError(), ForeignNameCode(c.kind)) << c.name;
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(PathOf(c.name)))) << c.name;
    }
    std::ifstream in(PathOf("original"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "someone's data");
}

TEST_F(Win32Files, AFileAnotherHolderHasOpenIsNeitherOpenedNorDeleted)
{
    const int held = Open("~kelt00x.tmp", TestFileMode::CreateReadWrite, 65536);
    ASSERT_GE(held, 0);
    EXPECT_EQ(Open("~kelt00x.tmp", TestFileMode::OpenRead, 65536), -1);
    EXPECT_EQ(LastSystemError(), ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(m_files.Remove(m_folder.Descriptor(), "~kelt00x.tmp"));
    // A second run's drive check sizes the files by name: an open there would
    // make this run's next create of them fail.
    ASSERT_EQ(m_files.Write(held, m_buffer.Data(), 65536), 65536);
    EXPECT_EQ(OwnFileBytes(m_dir.Path(), {"~kelt00x.tmp", "~kelt01x.tmp"}), 65536u);
    EXPECT_TRUE(m_files.Close(held));
    EXPECT_TRUE(m_files.Remove(m_folder.Descriptor(), "~kelt00x.tmp"));
}

TEST(Win32SystemErrors, TextsAreTheSystemsOwnWithoutTheLineBreak)
{
    for (const DWORD code : {DWORD {ERROR_FILE_NOT_FOUND}, DWORD {ERROR_ACCESS_DENIED}, DWORD {ERROR_DISK_FULL}}) {
        wchar_t* buffer = nullptr;
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
        ASSERT_NE(buffer, nullptr) << code;
        std::string expected = Narrow(buffer);
        LocalFree(buffer);
        while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r')) {
            expected.pop_back();
        }
        EXPECT_EQ(SystemErrorText(static_cast<int>(code)), expected) << code;
    }
    SetLastSystemError(ERROR_DISK_FULL);
    EXPECT_EQ(SystemErrorText(0x7fff0000), "Unknown error 2147418112");
    EXPECT_EQ(LastSystemError(), ERROR_DISK_FULL);  // asking for a text keeps the thread's last error
}

TEST(Win32Volumes, DrivesAreTheSystemsLettersWithFreeSpace)
{
    const auto drives = SystemLetterDrives();
    ASSERT_TRUE(drives.has_value());
    ASSERT_FALSE(drives->empty());
    for (const DriveEntry& drive : *drives) {
        EXPECT_EQ(drive.rootPath, std::string(1, drive.letter) + ":\\");
        EXPECT_GE(GetDriveTypeA(drive.rootPath.c_str()), DRIVE_REMOVABLE) << drive.rootPath;
    }
    test::TempDir dir;
    EXPECT_TRUE(FreeBytesForUser(dir.Path()).has_value());
    const ProbeResult probe = CreateAndDeleteProbe(dir.Path(), "jv7rt.d2w");
    EXPECT_EQ(probe.error, 0);
    EXPECT_FALSE(probe.left);
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(Win32Run, RunsOnTheWindowsServicesLeaveNoFiles)
{
    // With the performance counter the run completes; with the millisecond
    // count alone it says so first, and whatever the run's end its files go.
    for (const bool highResolution : {true, false}) {
        test::TempDir dir;
        Win32FileBackend files;
        Win32Clock clock(highResolution);
        test::EngineRig rig;
        rig.services.files = &files;
        rig.services.clock = &clock;
        rig.drives.Register('T', dir.Path());
        rig.tester = std::make_unique<DriveTester>(rig.services);
        rig.Run(2, 64, 16, 2, 2, 10);
        const auto boxes = rig.messages.Boxes();
        if (highResolution) {
            EXPECT_TRUE(boxes.empty()) << boxes[0].text;
            EXPECT_EQ(rig.tester->Outcome().result, RunResult::Complete);
        } else {
            ASSERT_FALSE(boxes.empty());
            EXPECT_EQ(boxes[0].text.rfind("Warning:  No high-resolution performance counter detected.", 0), 0u);
        }
        EXPECT_TRUE(dir.Entries().empty()) << highResolution;
    }
}

}  // namespace
}  // namespace kel
