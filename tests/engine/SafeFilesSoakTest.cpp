// Three hundred short runs in a folder shared with an adversary and a rival:
// stopped at random moments, among hard links and symbolic links to files
// outside the folder and FIFOs, some planted before the run and some renamed
// over the test files while it works, with a second tester racing for the
// folder. No run may hang, leave a file of its own, or change a byte outside
// the folder.

#include "engine/DriveTester.h"
#include "engine/EngineMessages.h"
#include "platform/posix/PosixFileBackend.h"
#include "tests/support/EngineFixture.h"
#include "tests/support/PlantedNames.h"
#include "tests/support/RealServices.h"
#include "tests/support/TempDir.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
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

}  // namespace
}  // namespace kel
