// Whole runs on a real file system: the files exist while the run needs them
// and are gone afterwards, however the run ends.

#include "engine/DriveTester.h"
#include "platform/DriveTable.h"
#include "platform/posix/PosixFileBackend.h"
#include "tests/support/EngineFixture.h"
#include "tests/support/RealServices.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

namespace kel {
namespace {

// Looks at the drive's folder whenever a pass is handed over.
class FolderWatchingSink : public test::RecordingResultSink {
public:
    explicit FolderWatchingSink(const test::TempDir& dir) : m_dir(dir) {}
    void AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate, int isWrite) override
    {
        if (seen.empty()) {
            std::ifstream file(m_dir.Path() + "/~kelt00x.tmp", std::ios::binary);
            firstFile.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        }
        seen.push_back(m_dir.Entries());
        RecordingResultSink::AddPassResults(passNumber, samples, sampleCount, passRate, isWrite);
    }
    std::vector<std::vector<std::string>> seen;
    std::string firstFile;  // as the first pass left it

private:
    const test::TempDir& m_dir;
};

class RealRun : public ::testing::Test {
protected:
    RealRun() { m_drives.Register('R', m_dir.Path()); }

    test::TempDir m_dir;
    PosixFileBackend m_files;
    test::RealServices m_real {m_files};
    test::CapturingMessageSink& m_messages = m_real.messages;
    DriveTable& m_drives = m_real.drives;
    const PlatformServices& m_services = m_real.services;
    test::RecordingDialog m_dialog;
};

TEST_F(RealRun, FilesExistDuringTheRunAndAreDeletedAfterIt)
{
    FolderWatchingSink sink(m_dir);
    DriveTester tester(m_services);
    ASSERT_EQ(tester.SetParameters('r', 3, 256, 64, 2, 2, 50, 0, 0, 0, &m_dialog, &sink), 1);
    tester.Start();
    ASSERT_TRUE(test::WaitUntilIdle(tester, m_real.threads));
    const std::vector<std::string> testFiles {"~kelt00x.tmp", "~kelt01x.tmp", "~kelt02x.tmp"};
    ASSERT_EQ(sink.seen.size(), 4u);
    for (const auto& listing : sink.seen) {
        EXPECT_EQ(listing, testFiles);
    }
    EXPECT_TRUE(m_dir.Entries().empty());
    EXPECT_TRUE(m_messages.Boxes().empty());
    EXPECT_EQ(m_dialog.Finished(), 1);
    // Every block carries the same pseudo-random 15-bit values, high byte first.
    ASSERT_EQ(sink.firstFile.size(), 256u * 1024u);
    for (std::size_t block = 1; block < 4; ++block) {
        EXPECT_EQ(sink.firstFile.compare(block * 65536, 65536, sink.firstFile, 0, 65536), 0);
    }
    for (std::size_t i = 0; i < 65536; i += 2) {
        ASSERT_LT(static_cast<unsigned char>(sink.firstFile[i]), 0x80u) << i;
    }
    EXPECT_NE(sink.firstFile.substr(0, 64), std::string(64, '\0'));
    for (const auto& pass : sink.Passes()) {
        EXPECT_GT(pass.rate, 0.0);
        EXPECT_GE(pass.samples.size(), 1u);
    }
}

TEST_F(RealRun, SimultaneousRunsKeepTheExtraFileUntilTheEnd)
{
    FolderWatchingSink sink(m_dir);
    DriveTester tester(m_services);
    ASSERT_EQ(tester.SetParameters('R', 1, 128, 64, 2, 3, 10, 0, 0, 1, &m_dialog, &sink), 1);
    tester.Start();
    ASSERT_TRUE(test::WaitUntilIdle(tester, m_real.threads));
    ASSERT_EQ(sink.seen.size(), 2u);
    EXPECT_EQ(sink.seen[1], (std::vector<std::string> {"~kelt00x.tmp", "~keltwwx.tmp"}));
    EXPECT_TRUE(m_dir.Entries().empty());
}

TEST_F(RealRun, StopAtRandomMomentsNeverLeavesAFileOrADescriptor)
{
    std::mt19937 random(20261208);
    const int descriptorsBefore = test::OpenDescriptorCount();
    DriveTester tester(m_services);
    for (int run = 0; run < 150; ++run) {
        const int numFiles = 1 + static_cast<int>(random() % 4);
        const int simultaneous = static_cast<int>(random() % 2);
        ASSERT_EQ(tester.SetParameters('R', numFiles, 64, 16, 3, 3, 100, 0, 0, simultaneous, &m_dialog, nullptr), 1);
        tester.Start();
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
        tester.Stop();
        ASSERT_EQ(tester.IsRunning(), 0);
        ASSERT_TRUE(m_dir.Entries().empty()) << "run " << run;
    }
    EXPECT_EQ(test::OpenDescriptorCount(), descriptorsBefore);
    EXPECT_TRUE(m_messages.Boxes().empty());
}

TEST_F(RealRun, AFolderThatDoesNotExistFailsAtTheFirstCreate)
{
    m_drives.Register('M', m_dir.Path() + "/gone");
    DriveTester tester(m_services);
    ASSERT_EQ(tester.SetParameters('M', 2, 64, 64, 1, 1, 10, 0, 0, 0, &m_dialog, nullptr), 1);
    tester.Start();
    ASSERT_TRUE(test::WaitUntilIdle(tester, m_real.threads));
    ASSERT_EQ(m_messages.Boxes().size(), 1u);
    EXPECT_EQ(m_messages.Boxes()[0].text.rfind("Unable to create file \"" + m_dir.Path() + "/gone/~kelt00x.tmp\"", 0),
              0u);
    EXPECT_EQ(m_dialog.Finished(), 1);
}

TEST_F(RealRun, AFullFileSystemEndsTheWritePassWithTheSystemsReason)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "mounting a small file system needs root";
    }
    test::TempDir mountPoint;
    if (std::system(("mount -t tmpfs -o size=1m kelt-test " + mountPoint.Path()).c_str()) != 0) {
        GTEST_SKIP() << "tmpfs could not be mounted here";
    }
    m_drives.Register('F', mountPoint.Path());
    {
        DriveTester tester(m_services);
        ASSERT_EQ(tester.SetParameters('F', 1, 2048, 64, 1, 1, 10, 0, 0, 0, &m_dialog, nullptr), 1);
        tester.Start();
        ASSERT_TRUE(test::WaitUntilIdle(tester, m_real.threads));
    }
    const auto leftOver = mountPoint.Entries();
    std::system(("umount " + mountPoint.Path()).c_str());
    ASSERT_EQ(m_messages.Boxes().size(), 1u);
    EXPECT_EQ(m_messages.Boxes()[0].text,
              "Failed writing to file \"" + mountPoint.Path() + "/~kelt00x.tmp\"\n-> Error 28:  No space left on device");
    EXPECT_TRUE(leftOver.empty());
    EXPECT_EQ(m_dialog.Finished(), 1);
}

}  // namespace
}  // namespace kel
