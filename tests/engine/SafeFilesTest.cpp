// Runs in a folder that others share: names held by links and special files
// are left alone and reported, no open blocks, a second run in the folder is
// refused, and a folder moved or replaced during a run keeps its files.

#include "engine/DriveTester.h"
#include "platform/DriveTable.h"
#include "platform/posix/PosixFileBackend.h"
#include "tests/support/EngineFixture.h"
#include "tests/support/PlantedNames.h"
#include "tests/support/RealServices.h"
#include "tests/support/TempDir.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace kel {
namespace {

using test::PlantCase;

// Calls a hook on the worker thread whenever a pass is handed over.
class HookedSink : public test::RecordingResultSink {
public:
    void AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate, int isWrite) override
    {
        RecordingResultSink::AddPassResults(passNumber, samples, sampleCount, passRate, isWrite);
        if (onPass) {
            onPass(passNumber, isWrite != 0);
        }
    }
    std::function<void(int number, bool isWrite)> onPass;
};

class SafeFiles : public ::testing::Test {
protected:
    SafeFiles() { m_real.drives.Register('S', m_folder.Path()); }

    // Runs to the end on drive S; false if the run did not end in time.
    bool Run(DriveTester& tester, int numFiles, int readReps, int writeReps, int simultaneous,
             PassResultSink* sink = nullptr)
    {
        if (tester.SetParameters('S', numFiles, 64, 16, readReps, writeReps, 10, 0, 0, simultaneous, &m_dialog,
                                 sink) != 1) {
            return false;
        }
        tester.Start();
        return test::WaitUntilIdle(tester, m_real.threads);
    }

    std::string InFolder(const std::string& name) const { return m_folder.Path() + "/" + name; }

    test::TempDir m_folder;
    test::TempDir m_outside;
    PosixFileBackend m_files;
    test::RealServices m_real {m_files};
    test::RecordingDialog m_dialog;
};

// --- Links and special files -------------------------------------------------

struct PlantedName {
    PlantCase plant;
    const char* name;
    int numFiles;
    int simultaneous;
};

void PrintTo(const PlantedName& c, std::ostream* out)
{
    *out << c.plant.label << " as " << c.name;
}

std::vector<PlantedName> PlantedNames()
{
    std::vector<PlantedName> cases;
    for (const PlantCase& plant : test::PlantCases()) {
        cases.push_back({plant, "~kelt00x.tmp", 1, 0});
        cases.push_back({plant, "~kelt01x.tmp", 2, 0});
        cases.push_back({plant, "~keltwwx.tmp", 1, 1});
    }
    return cases;
}

class PlantedTestFile : public SafeFiles, public ::testing::WithParamInterface<PlantedName> {};

TEST_P(PlantedTestFile, IsLeftAloneAndEndsTheRunWithItsReason)
{
    const PlantedName& c = GetParam();
    const test::Victim victim(m_outside.Path() + "/victim");
    const std::string path = InFolder(c.name);
    if (!test::Plant(c.plant.kind, path, victim.Path())) {
        GTEST_SKIP() << "this system does not let the test make a " << c.plant.label << " (devices need root)";
    }
    const std::string planted = test::Identity(path);
    DriveTester tester(m_real.services);
    ASSERT_TRUE(Run(tester, c.numFiles, 2, 1, c.simultaneous));

    const auto boxes = m_real.messages.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    const std::string expected = "Unable to create file \"" + path + "\"\n-> Error " + std::to_string(c.plant.code) +
                                 ":  " + c.plant.reason;
    EXPECT_EQ(boxes[0].text, expected);
    EXPECT_EQ(boxes[0].type, kErrorBox);
    const RunOutcome& outcome = tester.Outcome();
    EXPECT_EQ(outcome.result, RunResult::Failed);
    EXPECT_EQ(outcome.errorCode, c.plant.code);
    EXPECT_TRUE(outcome.undeletedFiles.empty()) << "not a test file: " << outcome.undeletedFiles.front();
    EXPECT_EQ(m_dialog.Finished(), 1);
    EXPECT_EQ(test::Identity(path), planted);
    EXPECT_TRUE(victim.Unchanged());
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {c.name});
}

INSTANTIATE_TEST_SUITE_P(EachKindAndName, PlantedTestFile, ::testing::ValuesIn(PlantedNames()),
                         [](const auto& testInfo) {
                             std::string name = std::string(testInfo.param.plant.label) + "_" + testInfo.param.name;
                             for (char& ch : name) {
                                 ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             }
                             return name;
                         });

TEST_F(SafeFiles, AFifoRenamedOverATestFileBetweenReadPassesEndsTheRunWithoutBlocking)
{
    const std::string path = InFolder("~kelt00x.tmp");
    HookedSink sink;
    sink.onPass = [this, &path](int number, bool isWrite) {
        if (!isWrite && number == 1) {
            const std::string fifo = InFolder("p");
            ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
            ASSERT_EQ(std::rename(fifo.c_str(), path.c_str()), 0);
        }
    };
    // A reader blocked in the FIFO's open is let go by a writer; the run must
    // never have needed one.
    std::atomic<bool> done {false};
    std::atomic<bool> rescued {false};
    std::thread rescuer([&] {
        while (!done) {
            const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            struct stat info {};
            if (fd >= 0) {
                // Opening a FIFO for writing without waiting succeeds only while someone reads it.
                rescued = rescued || (fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode));
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    DriveTester tester(m_real.services);
    const bool ended = Run(tester, 1, 20, 1, 0, &sink);
    done = true;
    rescuer.join();
    ASSERT_TRUE(ended);
    EXPECT_FALSE(rescued) << "the run blocked in the FIFO's open";
    const auto boxes = m_real.messages.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Unable to open file \"" + path + "\"\n-> Error " + std::to_string(ESPIPE) +
                                 ":  The name is a FIFO (named pipe), which the program leaves untouched");
    EXPECT_EQ(sink.Passes().size(), 2u);
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {"~kelt00x.tmp"});
}

// --- Shared and moving folders -------------------------------------------------

TEST_F(SafeFiles, ASecondRunInTheSameFolderIsRefusedAtOnceAndTouchesNothing)
{
    test::RealServices secondReal(m_files);
    secondReal.drives.Register('S', m_folder.Path());
    DriveTester second(secondReal.services);
    test::RecordingDialog secondDialog;
    std::vector<std::string> seenBySecond;
    HookedSink sink;
    sink.onPass = [&](int number, bool isWrite) {
        if (isWrite && number == 1) {
            const auto before = m_folder.Entries();
            ASSERT_EQ(second.SetParameters('S', 2, 64, 16, 1, 1, 10, 0, 0, 0, &secondDialog, nullptr), 1);
            second.Start();
            ASSERT_TRUE(test::WaitUntilIdle(second, secondReal.threads));
            seenBySecond = m_folder.Entries();
            EXPECT_EQ(seenBySecond, before);
        }
    };
    DriveTester first(m_real.services);
    ASSERT_TRUE(Run(first, 2, 2, 2, 0, &sink));

    const auto boxes = secondReal.messages.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Unable to use the folder \"" + m_folder.Path() + "\"\n-> Error " +
                                 std::to_string(EWOULDBLOCK) + ":  Another test is running in this folder");
    EXPECT_EQ(second.Outcome().result, RunResult::Failed);
    EXPECT_EQ(second.Outcome().errorCode, EWOULDBLOCK);
    EXPECT_EQ(secondDialog.Finished(), 1);
    EXPECT_EQ(seenBySecond, (std::vector<std::string> {"~kelt00x.tmp", "~kelt01x.tmp"}));
    // The first run went on undisturbed.
    EXPECT_EQ(first.Outcome().result, RunResult::Complete);
    EXPECT_TRUE(m_real.messages.Boxes().empty());
    EXPECT_EQ(sink.Passes().size(), 4u);
    EXPECT_TRUE(m_folder.Entries().empty());
}

TEST_F(SafeFiles, AFolderMovedDuringARunKeepsItsFilesThereAndDeletesThem)
{
    const std::string moved = m_outside.Path() + "/moved";
    HookedSink sink;
    sink.onPass = [&](int number, bool isWrite) {
        if (!isWrite && number == 1) {
            ASSERT_EQ(std::rename(m_folder.Path().c_str(), moved.c_str()), 0);
        }
    };
    DriveTester tester(m_real.services);
    const bool ended = Run(tester, 2, 2, 1, 1, &sink);
    const bool movedEmpty = std::filesystem::is_empty(moved);
    std::rename(moved.c_str(), m_folder.Path().c_str());  // for the folder's own clean-up
    ASSERT_TRUE(ended);
    EXPECT_EQ(tester.Outcome().result, RunResult::Complete);
    EXPECT_TRUE(m_real.messages.Boxes().empty());
    EXPECT_EQ(sink.Passes().size(), 2u);
    EXPECT_TRUE(movedEmpty);
}

TEST_F(SafeFiles, AFolderReplacedByALinkIsNeverFollowed)
{
    const std::string moved = m_outside.Path() + "/moved";
    const std::string other = m_outside.Path() + "/other";
    std::filesystem::create_directory(other);
    std::vector<std::vector<std::string>> otherSeen;
    HookedSink sink;
    sink.onPass = [&](int number, bool isWrite) {
        if (isWrite && number == 1) {
            ASSERT_EQ(std::rename(m_folder.Path().c_str(), moved.c_str()), 0);
            std::filesystem::create_directory_symlink(other, m_folder.Path());
        }
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(other)) {
            names.push_back(entry.path().filename().string());
        }
        otherSeen.push_back(names);
    };
    DriveTester tester(m_real.services);
    const bool ended = Run(tester, 2, 2, 3, 0, &sink);
    const bool movedEmpty = std::filesystem::is_empty(moved);
    const bool otherEmpty = std::filesystem::is_empty(other);
    std::filesystem::remove(m_folder.Path());
    std::rename(moved.c_str(), m_folder.Path().c_str());
    ASSERT_TRUE(ended);
    EXPECT_EQ(tester.Outcome().result, RunResult::Complete);
    EXPECT_TRUE(m_real.messages.Boxes().empty());
    ASSERT_EQ(otherSeen.size(), 5u);
    for (const auto& names : otherSeen) {
        EXPECT_TRUE(names.empty()) << "a later pass measured the folder behind the link";
    }
    EXPECT_TRUE(otherEmpty);
    EXPECT_TRUE(movedEmpty);
}

}  // namespace
}  // namespace kel
