// The Linux test-file back-end on a real file system.

#include "platform/ForeignNames.h"
#include "platform/posix/PosixFileBackend.h"
#include "platform/AlignedBuffer.h"
#include "tests/support/PlantedNames.h"
#include "tests/support/TempDir.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kel {
namespace {

class PosixFiles : public ::testing::Test {
protected:
    std::string PathOf(const char* name) const { return m_dir.Path() + "/" + name; }
    // Whether this file system takes O_DIRECT at all.
    bool DirectPossible() const
    {
        const std::string probe = PathOf("direct-probe");
        const int fd = ::open(probe.c_str(), O_CREAT | O_RDWR | O_DIRECT, 0600);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(probe.c_str());
        }
        return fd >= 0;
    }

    int Open(const char* name, TestFileMode mode, std::uint32_t granule)
    {
        return m_files.Open(m_folder.Descriptor(), name, mode, granule);
    }

    test::TempDir m_dir;
    PosixFileBackend m_files;
    FolderHandle m_folder {&m_files, m_files.OpenFolder(m_dir.Path().c_str())};
    AlignedBuffer m_buffer {65536, 4096};
};

TEST_F(PosixFiles, WritesAndReadsBackWithDirectIoWhereTheFileSystemAllowsIt)
{
    const std::string path = PathOf("~kelt00x.tmp");
    FileHandle out(&m_files, Open("~kelt00x.tmp", TestFileMode::CreateReadWrite, 65536));
    ASSERT_TRUE(out.IsOpen());
    EXPECT_EQ(out.Write(m_buffer.Data(), 65536), 65536);
    EXPECT_EQ(out.Write(m_buffer.Data(), 65536), 65536);
    ASSERT_TRUE(out.Close());
    EXPECT_EQ(std::filesystem::file_size(path), 131072u);

    const int fd = Open("~kelt00x.tmp", TestFileMode::OpenRead, 65536);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(m_files.TransfersDirectly(fd), DirectPossible());
    FileHandle in(&m_files, fd);
    EXPECT_EQ(in.Read(m_buffer.Data(), 65536), 65536);
    EXPECT_EQ(in.Read(m_buffer.Data(), 65536), 65536);
    // Past the end the read is short, and says why rather than "Success".
    EXPECT_EQ(in.Read(m_buffer.Data(), 65536), 0);
    EXPECT_EQ(errno, ENODATA);
}

TEST_F(PosixFiles, TransfersTooFineForDirectIoFallBackToSynchronousBufferedFiles)
{
    const int fd = Open("~kelt01x.tmp", TestFileMode::CreateReadWrite, 256);
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(m_files.TransfersDirectly(fd));
    EXPECT_NE(fcntl(fd, F_GETFL) & O_DSYNC, 0);
    FileHandle out(&m_files, fd);
    EXPECT_EQ(out.Write(m_buffer.Data(), 256), 256);
    EXPECT_EQ(out.Write(m_buffer.Data(), 768), 768);
    ASSERT_TRUE(out.Close());
    FileHandle in(&m_files, Open("~kelt01x.tmp", TestFileMode::OpenRead, 256));
    ASSERT_TRUE(in.IsOpen());
    EXPECT_EQ(in.Read(m_buffer.Data(), 1024), 1024);
}

TEST_F(PosixFiles, ANewTestFileIsEmptiedAndHeldExclusively)
{
    const std::string path = PathOf("~kelt02x.tmp");
    std::ofstream(path) << std::string(10000, 'x');
    FileHandle first(&m_files, Open("~kelt02x.tmp", TestFileMode::CreateReadWrite, 4096));
    ASSERT_TRUE(first.IsOpen());
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    EXPECT_LT(Open("~kelt02x.tmp", TestFileMode::OpenRead, 4096), 0);
    EXPECT_EQ(errno, ForeignNameCode(ForeignName::Held)) << "said as another program holding it";
    // Another run's file is not deleted from under it.
    EXPECT_FALSE(m_files.Remove(m_folder.Descriptor(), "~kelt02x.tmp"));
    EXPECT_EQ(errno, EBUSY);
    EXPECT_TRUE(std::filesystem::exists(path));
    ASSERT_TRUE(first.Close());
    EXPECT_TRUE(m_files.Remove(m_folder.Descriptor(), "~kelt02x.tmp"));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(m_files.Remove(m_folder.Descriptor(), "~kelt02x.tmp"));
    EXPECT_EQ(errno, ENOENT);
}

class PlantedName : public PosixFiles, public ::testing::WithParamInterface<test::PlantCase> {};

TEST_P(PlantedName, IsNeitherWrittenReadNorDeletedAndNoCallWaits)
{
    const test::PlantCase& c = GetParam();
    test::TempDir outside;
    const test::Victim victim(outside.Path() + "/victim");
    const std::string path = PathOf("~kelt03x.tmp");
    if (!test::Plant(c.kind, path, victim.Path())) {
        GTEST_SKIP() << "this system does not let the test make a " << c.label << " (devices need root)";
    }
    const std::string planted = test::Identity(path);
    const auto start = std::chrono::steady_clock::now();
    for (const TestFileMode mode : {TestFileMode::CreateReadWrite, TestFileMode::OpenRead}) {
        for (const std::uint32_t granule : {4096u, 256u}) {  // direct, then buffered
            errno = 0;
            EXPECT_LT(Open("~kelt03x.tmp", mode, granule), 0);
            EXPECT_EQ(errno, c.code);
        }
    }
    errno = 0;
    EXPECT_FALSE(m_files.Remove(m_folder.Descriptor(), "~kelt03x.tmp"));
    EXPECT_EQ(errno, c.code);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(test::Identity(path), planted);
    EXPECT_TRUE(victim.Unchanged());
}

INSTANTIATE_TEST_SUITE_P(EachKind, PlantedName, ::testing::ValuesIn(test::PlantCases()),
                         [](const auto& testInfo) { return std::string(testInfo.param.label); });

TEST_F(PosixFiles, AFolderIsHeldByOneRunAtATimeAcrossProcesses)
{
    ASSERT_TRUE(m_folder.IsOpen());
    EXPECT_LT(m_files.OpenFolder(m_dir.Path().c_str()), 0);
    EXPECT_EQ(errno, EWOULDBLOCK);
    // Through another path to the same folder, and from another process.
    const std::string link = m_dir.Path() + "-link";
    std::filesystem::create_directory_symlink(m_dir.Path(), link);
    EXPECT_LT(m_files.OpenFolder(link.c_str()), 0);
    std::filesystem::remove(link);
    const pid_t child = fork();
    if (child == 0) {
        PosixFileBackend files;
        _exit(files.OpenFolder(m_dir.Path().c_str()) < 0 && errno == EWOULDBLOCK ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other process got the folder";

    ASSERT_TRUE(m_folder.Close());
    FolderHandle again(&m_files, m_files.OpenFolder(m_dir.Path().c_str()));
    EXPECT_TRUE(again.IsOpen());
}

TEST_F(PosixFiles, FailuresLeaveTheSystemsReason)
{
    EXPECT_LT(m_files.OpenFolder(PathOf("no-such-folder").c_str()), 0);
    EXPECT_EQ(errno, ENOENT);
    std::ofstream(PathOf("a-file")) << "x";
    EXPECT_LT(m_files.OpenFolder(PathOf("a-file").c_str()), 0);
    EXPECT_EQ(errno, ENOTDIR);
    EXPECT_LT(Open("~kelt04x.tmp", TestFileMode::OpenRead, 4096), 0);
    EXPECT_EQ(errno, ENOENT);
}

TEST(AlignedBuffers, AreAlignedForDirectTransfers)
{
    AlignedBuffer buffer(1000, 4096);
    ASSERT_TRUE(buffer.IsValid());
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(buffer.Data()) % 4096, 0u);
    EXPECT_EQ(buffer.Size(), 1000u);
}

}  // namespace
}  // namespace kel
