// The Linux test-file back-end on a real file system.

#include "platform/posix/PosixFileBackend.h"
#include "platform/AlignedBuffer.h"
#include "tests/support/TempDir.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
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

    test::TempDir m_dir;
    PosixFileBackend m_files;
    AlignedBuffer m_buffer {65536, 4096};
};

TEST_F(PosixFiles, WritesAndReadsBackWithDirectIoWhereTheFileSystemAllowsIt)
{
    const std::string path = PathOf("~kelt00x.tmp");
    FileHandle out(&m_files, m_files.Open(path.c_str(), TestFileMode::CreateReadWrite, 65536));
    ASSERT_TRUE(out.IsOpen());
    EXPECT_EQ(out.Write(m_buffer.Data(), 65536), 65536);
    EXPECT_EQ(out.Write(m_buffer.Data(), 65536), 65536);
    ASSERT_TRUE(out.Close());
    EXPECT_EQ(std::filesystem::file_size(path), 131072u);

    const int fd = m_files.Open(path.c_str(), TestFileMode::OpenRead, 65536);
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
    const std::string path = PathOf("~kelt01x.tmp");
    const int fd = m_files.Open(path.c_str(), TestFileMode::CreateReadWrite, 256);
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(m_files.TransfersDirectly(fd));
    EXPECT_NE(fcntl(fd, F_GETFL) & O_DSYNC, 0);
    FileHandle out(&m_files, fd);
    EXPECT_EQ(out.Write(m_buffer.Data(), 256), 256);
    EXPECT_EQ(out.Write(m_buffer.Data(), 768), 768);
    ASSERT_TRUE(out.Close());
    FileHandle in(&m_files, m_files.Open(path.c_str(), TestFileMode::OpenRead, 256));
    ASSERT_TRUE(in.IsOpen());
    EXPECT_EQ(in.Read(m_buffer.Data(), 1024), 1024);
}

TEST_F(PosixFiles, ANewTestFileIsEmptiedAndHeldExclusively)
{
    const std::string path = PathOf("~kelt02x.tmp");
    std::ofstream(path) << std::string(10000, 'x');
    FileHandle first(&m_files, m_files.Open(path.c_str(), TestFileMode::CreateReadWrite, 4096));
    ASSERT_TRUE(first.IsOpen());
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    EXPECT_LT(m_files.Open(path.c_str(), TestFileMode::OpenRead, 4096), 0);
    EXPECT_EQ(errno, EWOULDBLOCK);
    // Another run's file is not deleted from under it.
    EXPECT_FALSE(m_files.Remove(path.c_str()));
    EXPECT_EQ(errno, EBUSY);
    EXPECT_TRUE(std::filesystem::exists(path));
    ASSERT_TRUE(first.Close());
    EXPECT_TRUE(m_files.Remove(path.c_str()));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(m_files.Remove(path.c_str()));
    EXPECT_EQ(errno, ENOENT);
}

TEST_F(PosixFiles, ALinkUnderATestFilesNameIsNeverWrittenThrough)
{
    const std::string victim = PathOf("precious.txt");
    std::ofstream(victim) << "keep me";
    const std::string path = PathOf("~kelt03x.tmp");
    std::filesystem::create_symlink(victim, path);
    EXPECT_LT(m_files.Open(path.c_str(), TestFileMode::CreateReadWrite, 4096), 0);
    EXPECT_EQ(errno, ELOOP);
    EXPECT_TRUE(m_files.Remove(path.c_str()));  // the link goes, its target stays
    std::ifstream in(victim);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "keep me");
}

TEST_F(PosixFiles, FailuresLeaveTheSystemsReason)
{
    const std::string path = PathOf("no-such-folder/~kelt00x.tmp");
    EXPECT_LT(m_files.Open(path.c_str(), TestFileMode::CreateReadWrite, 4096), 0);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_LT(m_files.Open(PathOf("~kelt04x.tmp").c_str(), TestFileMode::OpenRead, 4096), 0);
    EXPECT_EQ(errno, ENOENT);
    m_files.FlushVolume(PathOf("no-such-folder").c_str());  // silently does nothing
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
