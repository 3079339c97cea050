// Three hundred short runs in a folder shared with an adversary and a rival:
// stopped at random moments, among hard links and symbolic links to files
// outside the folder and FIFOs, some planted before the run and some renamed
// over the test files while it works, with a second tester racing for the
// folder. No run may hang, leave a file of its own, or change a byte outside
// the folder. Then runs in child processes ended by every stop signal at
// random moments, or cut short by a file-size limit (ulimit -f): the same.

#include "engine/DriveTester.h"
#include "engine/EngineMessages.h"
#include "platform/posix/PosixFileBackend.h"
#include "tests/support/EngineFixture.h"
#include "tests/support/PlantedNames.h"
#include "tests/support/RealServices.h"
#include "tests/support/TempDir.h"

#include "platform/StopSignals.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kel {
namespace {

constexpr int kRuns = 300;
const char* const kNames[] = {"~kelt00x.tmp", "~kelt01x.tmp", "~kelt02x.tmp", "~kelt03x.tmp", "~keltwwx.tmp"};

struct Figures {
    int complete = 0;
    int stopped = 0;
    int failed = 0;
    int refusedFolder = 0;
    int plantedBefore = 0;
    int plantedDuring = 0;
};

class SoakRig {
public:
    SoakRig()
    {
        for (int i = 0; i < 3; ++i) {
            m_victims.emplace_back(m_outside.Path() + "/victim" + std::to_string(i), 65536 + 4096 * i);
        }
        m_first.drives.Register('S', m_folder.Path());
        m_second.drives.Register('S', m_folder.Path());
    }

    int Pick(int low, int high) { return low + static_cast<int>(m_random() % static_cast<unsigned>(high - low + 1)); }

    // A FIFO, a hard link or a symbolic link to a victim, to be put under a
    // name of the runs, replacing whatever the name holds, as "mv -f" does.
    struct Plant {
        std::string scratch;
        std::string target;
        test::Planted kind;
        std::string victim;
    };
    Plant PickPlant()
    {
        const test::Planted kinds[] = {test::Planted::Fifo, test::Planted::HardLink, test::Planted::SymbolicLink};
        return {m_folder.Path() + "/planted-" + std::to_string(m_plants++),
                m_folder.Path() + "/" + kNames[Pick(0, 4)], kinds[Pick(0, 2)],
                m_victims[static_cast<std::size_t>(Pick(0, 2))].Path()};
    }
    static void PlantOver(const Plant& plant)
    {
        if (test::Plant(plant.kind, plant.scratch, plant.victim)) {
            std::rename(plant.scratch.c_str(), plant.target.c_str());
        }
    }

    bool SetRandomRun(DriveTester& tester, test::RecordingDialog& dialog)
    {
        const int bufSizeKB = 4 << Pick(0, 4);
        return tester.SetParameters('S', Pick(1, 4), bufSizeKB * Pick(1, 4), bufSizeKB, Pick(1, 3), Pick(1, 3),
                                    Pick(0, 200), 0, 0, Pick(0, 1), &dialog, nullptr) == 1;
    }

    // Names left in the folder that hold a regular file with one link: a
    // test file left behind, since everything planted is a link or a FIFO.
    std::vector<std::string> OwnFilesLeft() const
    {
        std::vector<std::string> left;
        for (const std::string& name : m_folder.Entries()) {
            struct stat info {};
            const std::string path = m_folder.Path() + "/" + name;
            if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1) {
                left.push_back(name);
            }
        }
        return left;
    }

    void ClearFolder() const
    {
        for (const std::string& name : m_folder.Entries()) {
            std::filesystem::remove_all(m_folder.Path() + "/" + name);
        }
    }

    void Count(const RunOutcome& outcome, Figures& figures) const
    {
        switch (outcome.result) {
        case RunResult::Complete:
            ++figures.complete;
            break;
        case RunResult::Stopped:
            ++figures.stopped;
            break;
        case RunResult::Failed:
            ++figures.failed;
            figures.refusedFolder += outcome.errorText.rfind("Unable to use the folder", 0) == 0 ? 1 : 0;
            break;
        }
    }

    test::TempDir m_folder;
    test::TempDir m_outside;
    std::vector<test::Victim> m_victims;
    PosixFileBackend m_files;
    test::RealServices m_first {m_files};
    test::RealServices m_second {m_files};
    std::mt19937 m_random {30012027};
    int m_plants = 0;
};

TEST(Soak, RunsAmongPlantedLinksAndFifosWithARivalNeitherHangNorLeaveFilesNorChangeAnythingOutside)
{
    SoakRig rig;
    test::RecordingDialog firstDialog;
    test::RecordingDialog secondDialog;
    DriveTester first(rig.m_first.services);
    DriveTester second(rig.m_second.services);
    const int descriptors = test::OpenDescriptorCount();
    Figures figures;

    for (int run = 0; run < kRuns; ++run) {
        for (int planted = rig.Pick(0, 3) - 1; planted > 0; --planted) {
            SoakRig::PlantOver(rig.PickPlant());
            ++figures.plantedBefore;
        }
        ASSERT_TRUE(rig.SetRandomRun(first, firstDialog));
        const bool rival = rig.Pick(0, 1) == 1;
        if (rival) {
            ASSERT_TRUE(rig.SetRandomRun(second, secondDialog));
        }
        first.Start();
        // The adversary renames something over a test file, the rival starts
        // its own run in the same folder, the user presses Stop: each at its
        // own random moment, in a random order.
        std::thread adversary;
        if (rig.Pick(0, 1) == 1) {
            const int delay = rig.Pick(0, 3000);
            adversary = std::thread([delay, plant = rig.PickPlant()] {
                std::this_thread::sleep_for(std::chrono::microseconds(delay));
                SoakRig::PlantOver(plant);
            });
            ++figures.plantedDuring;
        }
        if (rival) {
            std::this_thread::sleep_for(std::chrono::microseconds(rig.Pick(0, 2000)));
            second.Start();
        }
        if (rig.Pick(0, 2) != 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(rig.Pick(0, 4000)));
            (rig.Pick(0, 1) == 0 ? first : second).Stop();
        }
        const bool ended = test::WaitUntilIdle(first, std::chrono::seconds(60)) &&
                           test::WaitUntilIdle(second, std::chrono::seconds(60));
        if (adversary.joinable()) {
            adversary.join();
        }
        ASSERT_TRUE(ended) << "run " << run << " hung";

        rig.Count(first.Outcome(), figures);
        if (rival) {
            rig.Count(second.Outcome(), figures);
            const bool bothRefused = first.Outcome().errorText.rfind("Unable to use the folder", 0) == 0 &&
                                     second.Outcome().errorText.rfind("Unable to use the folder", 0) == 0;
            ASSERT_FALSE(bothRefused) << "run " << run << ": the folder was held by neither";
        }
        ASSERT_EQ(rig.OwnFilesLeft(), std::vector<std::string> {}) << "run " << run;
        for (const test::Victim& victim : rig.m_victims) {
            ASSERT_TRUE(victim.Unchanged()) << "run " << run << " changed " << victim.Path();
        }
        ASSERT_EQ(test::OpenDescriptorCount(), descriptors) << "run " << run;
        rig.ClearFolder();
    }
    std::printf("%d runs and %d rival runs: %d complete, %d stopped, %d failed (%d refused a held folder); "
                "%d names planted before a run, %d during one; 0 hangs, 0 files left, 0 bytes changed outside\n",
                kRuns, figures.complete + figures.stopped + figures.failed - kRuns, figures.complete, figures.stopped,
                figures.failed, figures.refusedFolder, figures.plantedBefore, figures.plantedDuring);
    // Every path was taken, whatever the machine's speed.
    EXPECT_GT(figures.refusedFolder, 10);
    EXPECT_GT(figures.stopped, 10);
    EXPECT_GT(figures.complete, 10);
}

// A child process that runs one test as the runner does: it stops the run on
// a stop signal and exits with 128 + the signal, 1 for a failed run (with the
// failure's code in the outcome), 0 for a complete one. limitBytes > 0 sets a
// file-size limit first. It returns once the child has its signal handlers
// and has started the run.
pid_t StartRunInChild(SoakRig& rig, long limitBytes)
{
    const int numFiles = rig.Pick(1, 3);
    const int fileSizeKB = 64 * rig.Pick(1, 4);
    const int reads = rig.Pick(1, 30);
    const int simultaneous = rig.Pick(0, 1);
    int ready[2];
    if (pipe(ready) != 0) {
        return -1;
    }
    const pid_t child = fork();
    if (child != 0) {
        close(ready[1]);
        char byte = 0;
        [[maybe_unused]] const ssize_t got = read(ready[0], &byte, 1);
        close(ready[0]);
        return child;
    }
    close(ready[0]);
    const rlimit noCore {0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    InstallStopSignals();
    if (limitBytes > 0) {
        const rlimit limit {static_cast<rlim_t>(limitBytes), RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    test::RecordingDialog dialog;
    DriveTester tester(rig.m_first.services);
    if (tester.SetParameters('S', numFiles, fileSizeKB, 16, reads, 2, 10, 0, 0, simultaneous, &dialog, nullptr) != 1) {
        _exit(2);
    }
    tester.Start();
    close(ready[1]);
    int signal = 0;
    while (tester.IsRunning() != 0) {
        if ((signal = PendingStopSignal()) != 0) {
            tester.Stop();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    tester.Stop();  // joins the worker, also of a run that ended by itself
    const RunOutcome outcome = tester.Outcome();
    if (outcome.result == RunResult::Failed) {
        _exit(outcome.errorCode == EFBIG ? 1 : 3);
    }
    _exit(signal != 0 ? ExitCodeForSignal(signal) : 0);
}

// The child's exit code, or -1 when it did not end within a minute (it is then killed).
int WaitForChild(pid_t child)
{
    for (int waited = 0; waited < 60000; ++waited) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return -1;
}

TEST(Soak, RunsEndedByAnyStopSignalOrAFileSizeLimitLeaveNoFilesAndChangeNothingOutside)
{
    const int signals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF};
    SoakRig rig;
    int stopped = 0;
    int limited = 0;
    for (int run = 0; run < 60; ++run) {
        // One run in four meets a file-size limit below its file size.
        const bool limit = run % 4 == 3;
        const int signal = signals[run % std::size(signals)];
        const pid_t child = StartRunInChild(rig, limit ? 4096L * rig.Pick(1, 15) : 0);
        ASSERT_GT(child, 0);
        if (!limit) {
            std::this_thread::sleep_for(std::chrono::microseconds(rig.Pick(0, 20000)));
            kill(child, signal);
        }
        const int code = WaitForChild(child);
        if (limit) {
            ASSERT_EQ(code, 1) << "run " << run << ": the write over the limit fails the run";
            ++limited;
        } else {
            ASSERT_TRUE(code == 128 + signal || code == 0) << "run " << run << " " << strsignal(signal) << ": " << code;
            stopped += code != 0 ? 1 : 0;
        }
        ASSERT_EQ(rig.OwnFilesLeft(), std::vector<std::string> {}) << "run " << run;
        for (const test::Victim& victim : rig.m_victims) {
            ASSERT_TRUE(victim.Unchanged()) << "run " << run << " changed " << victim.Path();
        }
        rig.ClearFolder();
    }
    std::printf("60 runs in child processes: %d stopped by a signal, %d failed at a file-size limit; "
                "0 files left, 0 bytes changed outside\n", stopped, limited);
    EXPECT_GT(stopped, 10);
}

}  // namespace
}  // namespace kel
