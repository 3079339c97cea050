#include "engine/DriveTester.h"
#include "engine/EngineMessages.h"
#include "platform/SystemError.h"
#include "tests/support/EngineFixture.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace kel {
namespace {

using test::EngineRig;

TEST(DriveTesterParameters, AcceptsLettersInEitherCaseAndAfterARefusalStartsNothing)
{
    EngineRig rig;
    DriveTester& tester = *rig.tester;
    EXPECT_EQ(tester.SetParameters('c', 1, 96, 96, 1, 1, 10, 0, 0, 0, nullptr, &rig.results), 1);
    EXPECT_EQ(tester.SetParameters('T', 2, 96, 96, 1, 1, 10, 0, 0, 0, &rig.dialog, &rig.results), 1);
    EXPECT_EQ(tester.RootPath(), "/virtual");
    EXPECT_EQ(tester.SetParameters('1', 3, 96, 96, 1, 1, 10, 0, 0, 0, nullptr, &rig.results), 0);
    EXPECT_EQ(tester.SetParameters(' ', 3, 96, 96, 1, 1, 10, 0, 0, 0, nullptr, &rig.results), 0);
    EXPECT_EQ(tester.SetParameters('T' + 256, 3, 96, 96, 1, 1, 10, 0, 0, 0, nullptr, &rig.results), 0);
    EXPECT_EQ(rig.results.Configs().size(), 2u);  // refusals leave the view alone
    // A harness that starts after a refusal gets no run, not the old parameters.
    tester.Start();
    EXPECT_EQ(tester.IsRunning(), 0);
    EXPECT_TRUE(rig.files.Log().empty());

    EXPECT_EQ(tester.SetParameters('t', 2, 96, 96, 1, 1, 10, 0, 0, 0, &rig.dialog, &rig.results), 1);
    tester.Start();
    ASSERT_TRUE(test::WaitUntilIdle(tester, rig.threads));
    EXPECT_EQ(rig.files.FileSize("~kelt01x.tmp"), 0u);  // deleted again
    EXPECT_EQ(rig.dialog.Finished(), 1);
    EXPECT_EQ(tester.Outcome().result, RunResult::Complete);
}

TEST(DriveTesterParameters, StartWithoutAcceptedParametersStartsNothing)
{
    for (const bool refusedFirst : {false, true}) {
        EngineRig rig;
        if (refusedFirst) {
            EXPECT_EQ(rig.tester->SetParameters('T', 0, 96, 96, 1, 1, 10, 0, 0, 0, &rig.dialog, nullptr), 0);
        }
        rig.tester->Start();
        EXPECT_EQ(rig.tester->IsRunning(), 0);
        EXPECT_TRUE(rig.files.Log().empty());
        EXPECT_EQ(rig.dialog.Finished(), 0);
    }
}

TEST(DriveTesterParameters, RefusesValuesNoRunCouldUse)
{
    EngineRig rig;
    EXPECT_EQ(rig.tester->SetParameters('T', 0, 96, 96, 1, 1, 10, 0, 0, 0, nullptr, nullptr), 0);
    EXPECT_EQ(rig.tester->SetParameters('T', 101, 96, 96, 1, 1, 10, 0, 0, 0, nullptr, nullptr), 0);
    EXPECT_EQ(rig.tester->SetParameters('T', 1, 0, 96, 1, 1, 10, 0, 0, 0, nullptr, nullptr), 0);
    EXPECT_EQ(rig.tester->SetParameters('T', 1, 96, 0, 1, 1, 10, 0, 0, 0, nullptr, nullptr), 0);
    EXPECT_EQ(rig.tester->SetParameters('T', 1, 96, 96, 1, 1, -1, 0, 0, 0, nullptr, nullptr), 0);
    EXPECT_EQ(rig.tester->SetParameters('T', 100, 102400, 1, 0, 0, 0, 0, 0, 0, nullptr, nullptr), 1);
}

TEST(DriveTesterParameters, SimultaneousRunsWriteOncePassButTheViewHearsTheCountEntered)
{
    EngineRig rig;
    rig.Run(1, 8, 4, 2, 5, 10, 1);
    ASSERT_EQ(rig.results.Configs().size(), 1u);
    const auto config = rig.results.Configs()[0];
    EXPECT_EQ(config.writeReps, 5);
    EXPECT_EQ(config.readReps, 2);
    EXPECT_EQ(config.simultaneous, 1);
    int writePasses = 0;
    for (const auto& line : rig.files.Log()) {
        writePasses += line == "open-c ~kelt00x.tmp" ? 1 : 0;
    }
    EXPECT_EQ(writePasses, 1);
}

TEST(DriveTesterParameters, WithoutAViewTheRunHandsNothingOver)
{
    EngineRig rig;
    ASSERT_EQ(rig.tester->SetParameters('T', 1, 8, 4, 1, 1, 10, 0, 0, 0, &rig.dialog, nullptr), 1);
    rig.tester->Start();
    ASSERT_TRUE(test::WaitUntilIdle(*rig.tester, rig.threads));
    EXPECT_TRUE(rig.results.Passes().empty());
    EXPECT_EQ(rig.dialog.Finished(), 1);
    EXPECT_TRUE(rig.messages.Boxes().empty());
}

// Holds the worker inside its first write until released.
struct Gate {
    std::atomic<bool> entered {false};
    std::atomic<bool> open {false};
    void Hold()
    {
        entered = true;
        while (!open) {
            std::this_thread::yield();
        }
    }
};

// Starts a run whose worker is held at its first write until the gate opens.
void StartHeld(EngineRig& rig, Gate& gate, int numFiles, int reps)
{
    rig.files.SetTransferHook([&gate] { gate.Hold(); });
    ASSERT_EQ(rig.tester->SetParameters('T', numFiles, 8, 4, reps, reps, 10, 0, 0, 0, &rig.dialog, &rig.results), 1);
    rig.tester->Start();
    while (!gate.entered) {
        std::this_thread::yield();
    }
}

// Stops a run held at the gate; the held transfer completes only once the
// stop request is in.
void StopWhileHeld(EngineRig& rig, Gate& gate)
{
    std::thread opener([&rig, &gate] {
        while (rig.tester->StopRequested() == 0) {
            std::this_thread::yield();
        }
        gate.open = true;
    });
    rig.tester->Stop();
    opener.join();
}

TEST(DriveTesterRunState, WhileRunningParametersAreRefusedAndASecondStartDoesNothing)
{
    EngineRig rig;
    Gate gate;
    StartHeld(rig, gate, 1, 1);
    EXPECT_EQ(rig.tester->IsRunning(), 1);
    EXPECT_EQ(rig.tester->SetParameters('T', 2, 8, 4, 1, 1, 10, 0, 0, 0, &rig.dialog, &rig.results), 0);
    EXPECT_EQ(rig.results.Configs().size(), 1u);
    rig.tester->Start();
    gate.open = true;
    ASSERT_TRUE(test::WaitUntilIdle(*rig.tester, rig.threads));
    EXPECT_EQ(rig.dialog.Finished(), 1);
    EXPECT_EQ(rig.results.Passes().size(), 2u);
}

TEST(DriveTesterRunState, StopEndsTheRunDeletesItsFilesAndPostsNothing)
{
    EngineRig rig;
    Gate gate;
    StartHeld(rig, gate, 3, 4);
    StopWhileHeld(rig, gate);
    EXPECT_EQ(rig.tester->IsRunning(), 0);
    EXPECT_TRUE(rig.files.ExistingFiles().empty());
    EXPECT_EQ(rig.files.OpenCount(), 0);
    EXPECT_EQ(rig.dialog.Finished(), 0);
    EXPECT_TRUE(rig.messages.Boxes().empty());
    EXPECT_TRUE(rig.results.Passes().empty());
}

TEST(DriveTesterRunState, StopWhenIdleReturnsAndTheNextStartRunsNormally)
{
    EngineRig rig;
    rig.tester->Stop();
    rig.Run(1, 8, 4, 1, 1, 10);
    EXPECT_EQ(rig.dialog.Finished(), 1);
    EXPECT_EQ(rig.results.Passes().size(), 2u);
}

TEST(DriveTesterRunState, DestroyingTheTesterDuringARunStopsIt)
{
    EngineRig rig;
    Gate gate;
    StartHeld(rig, gate, 1, 1);
    gate.open = true;
    rig.tester.reset();
    EXPECT_TRUE(rig.files.ExistingFiles().empty());
    EXPECT_EQ(rig.dialog.Finished(), 0);
}

// Keeps every run end it is told of.
class RecordingEnds : public RunEndSink {
public:
    void RunEnded(const RunOutcome& outcome) override
    {
        std::lock_guard lock(m_mutex);
        m_outcomes.push_back(outcome);
    }
    std::vector<RunOutcome> Outcomes() const
    {
        std::lock_guard lock(m_mutex);
        return m_outcomes;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<RunOutcome> m_outcomes;
};

// A box that stays open until the run is asked to stop, as the dialog's does.
class BoxOpenUntilStop : public MessageSink {
public:
    void ShowMessageBox(const std::string&, unsigned, const std::atomic<std::int32_t>* cancel) override
    {
        shown = true;
        while (cancel != nullptr && cancel->load() == 0) {
            std::this_thread::yield();
        }
    }
    std::atomic<bool> shown {false};
};

TEST(DriveTesterRunEnd, EveryEndIsToldOnceWithItsOutcomeAndAStopAfterAFailureKeepsTheFailure)
{
    const RunParameters parameters {1, 8, 4, 1, 1, 10, 0, 0, 0};
    {
        EngineRig rig;
        RecordingEnds ends;
        ASSERT_EQ(rig.tester->SetRun("/virtual", parameters, &rig.dialog, &rig.results, &ends), 1);
        rig.tester->Start();
        ASSERT_TRUE(test::WaitUntilIdle(*rig.tester, rig.threads));
        ASSERT_EQ(ends.Outcomes().size(), 1u);
        EXPECT_EQ(ends.Outcomes()[0].result, RunResult::Complete);
        EXPECT_EQ(ends.Outcomes()[0].failureKind, FailureKind::None);
    }
    {
        EngineRig rig;
        RecordingEnds ends;
        Gate gate;
        rig.files.SetTransferHook([&gate] { gate.Hold(); });
        ASSERT_EQ(rig.tester->SetRun("/virtual", parameters, &rig.dialog, &rig.results, &ends), 1);
        rig.tester->Start();
        while (!gate.entered) {
            std::this_thread::yield();
        }
        StopWhileHeld(rig, gate);
        ASSERT_EQ(ends.Outcomes().size(), 1u);
        EXPECT_EQ(ends.Outcomes()[0].result, RunResult::Stopped);
        EXPECT_EQ(rig.dialog.Finished(), 0);
    }
    {
        EngineRig rig;
        BoxOpenUntilStop box;
        rig.services.messages = &box;
        rig.files.FailNth(test::Op::Write, 1, EIO);
        DriveTester tester(rig.services);
        RecordingEnds ends;
        ASSERT_EQ(tester.SetRun("/virtual", parameters, &rig.dialog, &rig.results, &ends), 1);
        tester.Start();
        while (!box.shown) {
            std::this_thread::yield();
        }
        tester.Stop();
        ASSERT_EQ(ends.Outcomes().size(), 1u);
        EXPECT_EQ(ends.Outcomes()[0].result, RunResult::Failed);
        EXPECT_EQ(ends.Outcomes()[0].failureKind, FailureKind::Write);
        EXPECT_EQ(ends.Outcomes()[0].errorCode, EIO);
        EXPECT_TRUE(rig.files.ExistingFiles().empty());
    }
}

class RefusingThreads : public ThreadFactory {
public:
    std::unique_ptr<WorkerThread> NewThread() override
    {
        struct Refusing : WorkerThread {
            bool Create(Procedure, void*) override
            {
                SetLastSystemError(EAGAIN);
                return false;
            }
            void RaisePriority() override {}
            void Release() override {}
            void Join() override {}
        };
        return std::make_unique<Refusing>();
    }
};

TEST(DriveTesterRunState, AThreadThatCannotBeCreatedIsReportedOnceAndLeavesTheTesterUsable)
{
    EngineRig rig;
    RefusingThreads refusing;
    rig.services.threads = &refusing;
    DriveTester tester(rig.services);
    ASSERT_EQ(tester.SetParameters('T', 1, 8, 4, 1, 1, 10, 0, 0, 0, &rig.dialog, &rig.results), 1);
    tester.Start();
    EXPECT_EQ(tester.IsRunning(), 0);
    ASSERT_EQ(rig.messages.Boxes().size(), 1u);
    EXPECT_EQ(rig.messages.Boxes()[0].type, kErrorBox);
    EXPECT_EQ(rig.messages.Boxes()[0].text.rfind(std::string(msg::kNoThread) + "\n-> Error " + std::to_string(EAGAIN), 0),
              0u);
    EXPECT_EQ(rig.dialog.Finished(), 1);  // the dialog returns to idle
    tester.Stop();                         // returns at once
    tester.Start();
    EXPECT_EQ(rig.messages.Boxes().size(), 2u);
}

TEST(DriveTesterClock, WithoutAHighResolutionCounterItWarnsAndCountsMilliseconds)
{
    EngineRig rig(false);
    ASSERT_EQ(rig.messages.Boxes().size(), 1u);
    EXPECT_EQ(rig.messages.Boxes()[0].text,
              "Warning:  No high-resolution performance counter detected.\nUsing standard system clock for timing.");
    EXPECT_EQ(rig.messages.Boxes()[0].type, kPlainBox);
    EXPECT_EQ(rig.tester->HasPerfCounter(), 0);
    EXPECT_EQ(rig.tester->TicksPerSecond().low, 1000u);
    EXPECT_EQ(rig.tester->TicksPerSecond().high, 0u);
    rig.clock.Advance(0x1'0000'0005ull);
    const Ticks64 now = rig.tester->ReadClock();
    EXPECT_EQ(now.high, 0u);
    EXPECT_EQ(now.low, static_cast<std::uint32_t>(rig.clock.Now()));
}

TEST(DriveTesterClock, TheHighResolutionCounterIsReadWhole)
{
    EngineRig rig;
    EXPECT_TRUE(rig.messages.Boxes().empty());
    EXPECT_EQ(rig.tester->TicksPerSecond().low, 1000000u);
    rig.clock.Advance(0x2'0000'0000ull);
    const Ticks64 now = rig.tester->ReadClock();
    EXPECT_EQ(now.high, 2u);
    EXPECT_EQ(now.low, 1000u);
}

}  // namespace
}  // namespace kel
