// Runs on real file systems that fail under them: a file system turned
// read-only between passes, a file truncated under the reader, and hundreds
// of runs stopped at random moments. (A test folder moved or replaced during
// a run: SafeFilesTest.cpp.)
// Each failure shows one message with the system's reason, the dialog is
// told, and no descriptor is leaked.

#include "engine/DriveTester.h"
#include "platform/DriveTable.h"
#include "platform/posix/PosixFileBackend.h"
#include "tests/support/EngineFixture.h"
#include "tests/support/RealServices.h"
#include "tests/support/TempDir.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

namespace kel {
namespace {

// The real back-end with a hook before the n-th open or read.
class HookedFiles : public PosixFileBackend {
public:
    int Open(int folder, const char* name, TestFileMode mode, std::uint32_t transferGranule) override
    {
        if (++m_opens == openAt && beforeOpen) {
            beforeOpen();
        }
        return PosixFileBackend::Open(folder, name, mode, transferGranule);
    }
    std::int64_t Read(int fd, void* buffer, std::uint32_t bytes) override
    {
        if (++m_reads == readAt && beforeRead) {
            beforeRead();
        }
        return PosixFileBackend::Read(fd, buffer, bytes);
    }
    int openAt = 0;
    int readAt = 0;
    std::function<void()> beforeOpen;
    std::function<void()> beforeRead;

private:
    int m_opens = 0;
    int m_reads = 0;
};

bool IsRoot()
{
    return geteuid() == 0;
}

bool Shell(const std::string& command)
{
    return std::system((command + " 2>/dev/null").c_str()) == 0;
}

class FaultMatrix : public ::testing::Test {
protected:
    // Runs to the end on drive F at folder; true if it ended in time.
    void Run(const std::string& folder, int numFiles, int fileSizeKB, int bufSizeKB, int readReps, int writeReps)
    {
        m_drives.Register('F', folder);
        const int descriptors = test::OpenDescriptorCount();
        DriveTester tester(m_services);
        ASSERT_EQ(tester.SetParameters('F', numFiles, fileSizeKB, bufSizeKB, readReps, writeReps, 20, 0, 0, 0,
                                       &m_dialog, nullptr),
                  1);
        tester.Start();
        ASSERT_TRUE(test::WaitUntilIdle(tester, m_real.threads));
        EXPECT_EQ(test::OpenDescriptorCount(), descriptors);
        EXPECT_EQ(m_dialog.Finished(), 1);
    }

    void ExpectOneReport(const std::string& expected)
    {
        const auto boxes = m_messages.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, expected);
        EXPECT_EQ(boxes[0].type, kErrorBox);
    }

    HookedFiles m_files;
    test::RealServices m_real {m_files};
    test::CapturingMessageSink& m_messages = m_real.messages;
    DriveTable& m_drives = m_real.drives;
    const PlatformServices& m_services = m_real.services;
    test::RecordingDialog m_dialog;
};

TEST_F(FaultMatrix, AFileSystemTurnedReadOnlyBetweenPassesStopsTheNextCreate)
{
    if (!IsRoot()) {
        GTEST_SKIP() << "needs root to mount";
    }
    test::TempDir mountPoint;
    const std::string path = mountPoint.Path();
    if (!Shell("mount -t tmpfs -o size=8m kelt-test " + path)) {
        GTEST_SKIP() << "tmpfs could not be mounted here";
    }
    // Two creates in the first write pass; before the third the files are closed.
    m_files.openAt = 3;
    m_files.beforeOpen = [&path] { ASSERT_TRUE(Shell("mount -o remount,ro " + path)); };
    Run(path, 2, 256, 64, 1, 2);
    // A read-only file system keeps its files: they go once it is writable again.
    const auto left = mountPoint.Entries();
    Shell("umount " + path);
    ExpectOneReport("Unable to create file \"" + path + "/~kelt00x.tmp\"\n-> Error " + std::to_string(EROFS) +
                    ":  " + std::strerror(EROFS));
    EXPECT_EQ(left, (std::vector<std::string> {"~kelt00x.tmp", "~kelt01x.tmp"}));
}

TEST_F(FaultMatrix, AFileTruncatedUnderTheReaderFailsTheNextRead)
{
    test::TempDir folder;
    const std::string victim = folder.Path() + "/~kelt01x.tmp";
    m_files.readAt = 3;  // 2 files: the second sweep starts with file 0
    m_files.beforeRead = [&victim] { std::filesystem::resize_file(victim, 0); };
    Run(folder.Path(), 2, 256, 64, 2, 1);
    ExpectOneReport("Failed reading from file \"" + victim + "\"\n-> Error " + std::to_string(ENODATA) +
                    ":  The file ended early: fewer bytes were read than asked");
    EXPECT_TRUE(folder.Entries().empty());
}

long ResidentKilobytes()
{
    long pages = 0;
    long resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm != nullptr) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

TEST(Soak, HundredsOfShortRunsStoppedAtRandomLeaveNothingBehind)
{
    test::TempDir folder;
    PosixFileBackend files;
    test::RealServices real(files);
    real.drives.Register('S', folder.Path());
    test::RecordingDialog dialog;
    DriveTester tester(real.services);

    std::mt19937 random(8122026);
    const auto pick = [&random](int low, int high) { return low + static_cast<int>(random() % (high - low + 1)); };
    const int descriptors = test::OpenDescriptorCount();
    [[maybe_unused]] long residentAfterWarmUp = 0;  // unread under sanitizers
    int stopped = 0;
    for (int run = 0; run < 300; ++run) {
        const int bufSizeKB = 4 << pick(0, 4);
        ASSERT_EQ(tester.SetParameters('S', pick(1, 5), bufSizeKB * pick(1, 8), bufSizeKB, pick(1, 3), pick(1, 3),
                                       pick(0, 200), 0, 0, pick(0, 1), &dialog, nullptr),
                  1);
        tester.Start();
        if (pick(0, 3) != 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(pick(0, 4000)));
            tester.Stop();
            ++stopped;
        }
        ASSERT_TRUE(test::WaitUntilIdle(tester, std::chrono::seconds(60))) << "run " << run;
        ASSERT_TRUE(folder.Entries().empty()) << "run " << run;
        ASSERT_EQ(test::OpenDescriptorCount(), descriptors) << "run " << run;
        if (run == 49) {
            residentAfterWarmUp = ResidentKilobytes();
        }
    }
    // Timing messages may come from runs too short to measure; nothing else.
    for (const auto& box : real.messages.Boxes()) {
        EXPECT_EQ(box.text.rfind("Timing interval too small.", 0), 0u) << box.text;
    }
    EXPECT_GT(stopped, 150);
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    // Sanitizers hold freed memory back on purpose; there the leak checker
    // does this job.
    EXPECT_LT(ResidentKilobytes() - residentAfterWarmUp, 4096) << "memory grows with the number of runs";
#endif
}

}  // namespace
}  // namespace kel
