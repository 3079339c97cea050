// One run from the drive check to the finished record, as every front end
// drives it.

#include "engine/RunSession.h"
#include "tests/support/EngineFixture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>

namespace kel {
namespace {

// Keeps what it is told and how the record stood at that moment.
class EndListener : public RunSessionListener {
public:
    void RunSessionEnded(const RunOutcome& outcome) override
    {
        told.push_back(outcome);
        recordedWhenTold = session->Record().outcome.result;
    }
    RunSession* session = nullptr;
    std::vector<RunOutcome> told;
    RunResult recordedWhenTold = RunResult::Complete;
};

struct SessionRig {
    SessionRig()
    {
        drives.Register('T', folder.Path());
        services = rig.services;
        services.drives = &drives;
        session = std::make_unique<RunSession>(services, &rig.results, &listener);
        listener.session = session.get();
    }
    test::EngineRig rig;
    test::TempDir folder;  // the drive check probes a real folder
    DriveTable drives;
    PlatformServices services;
    EndListener listener;
    std::unique_ptr<RunSession> session;
};

TEST(RunSession, ARunIsRecordedAndItsEndToldOnce)
{
    SessionRig s;
    ASSERT_TRUE(s.session->Start({"keltally-test", 'T', RunParameters {2, 8, 4, 2, 3, 10, 0, 0, 0}, {}, {}}));
    s.session->WaitForEnd();
    ASSERT_EQ(s.listener.told.size(), 1u);
    EXPECT_EQ(s.listener.told[0].result, RunResult::Complete);
    EXPECT_TRUE(s.session->HasFinishedRecord());
    const RunRecord record = s.session->Record();
    EXPECT_EQ(record.program, "keltally-test");
    EXPECT_EQ(record.directory, s.folder.Path());
    EXPECT_EQ(record.passes.size(), 5u);
    EXPECT_EQ(record.outcome.result, RunResult::Complete);
    EXPECT_EQ(s.rig.results.Passes().size(), 5u) << "the front end's sink sees every pass";
}

TEST(RunSession, ARefusedDriveStartsNothingAndTellsNoEnd)
{
    SessionRig s;
    EXPECT_FALSE(s.session->Start({"keltally-test", 'Q', RunParameters {1, 8, 4, 1, 1, 10, 0, 0, 0}, {}, {}}));
    ASSERT_EQ(s.rig.messages.Boxes().size(), 1u);
    EXPECT_EQ(s.rig.messages.Boxes()[0].text, "Unable to access drive Q.");
    EXPECT_FALSE(s.session->IsRunning());
    EXPECT_FALSE(s.session->HasFinishedRecord());
    EXPECT_TRUE(s.listener.told.empty());
}

TEST(RunSession, AStopAskedForReturnsAtOnceAndTheEndIsToldWhenTheFilesAreGone)
{
    SessionRig s;
    std::atomic<bool> held {false};
    std::atomic<bool> released {false};
    s.rig.files.SetTransferHook([&] {
        held = true;
        while (!released) {
            std::this_thread::yield();
        }
    });
    ASSERT_TRUE(s.session->Start({"keltally-test", 'T', RunParameters {1, 8, 4, 100, 100, 10, 0, 0, 0}, {}, {}}));
    while (!held) {
        std::this_thread::yield();
    }
    s.session->RequestStop();
    EXPECT_TRUE(s.session->IsRunning()) << "the transfer in progress still holds the run";
    EXPECT_TRUE(s.listener.told.empty());
    released = true;
    s.session->WaitForEnd();
    ASSERT_EQ(s.listener.told.size(), 1u);
    EXPECT_EQ(s.listener.told[0].result, RunResult::Stopped);
    EXPECT_EQ(s.listener.recordedWhenTold, RunResult::Stopped) << "the record is finished before the end is told";
    EXPECT_TRUE(s.rig.files.ExistingFiles().empty());
}

}  // namespace
}  // namespace kel
