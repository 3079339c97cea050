#pragma once
// A tester wired to doubles: in-memory files on drive T:, a virtual clock,
// captured message boxes, recorded passes and dialog messages.

#include "engine/DriveTester.h"
#include "engine/TestRun.h"
#include "platform/DriveTable.h"
#include "platform/PlatformServices.h"
#include "tests/support/EngineDoubles.h"
#include "tests/support/TrackedThreads.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

namespace kel::test {

// Waits for a run to end; false if it did not within the time.
inline bool WaitUntilIdle(const DriveTester& tester, std::chrono::seconds limit = std::chrono::seconds(30))
{
    return PollUntil([&tester] { return tester.IsRunning() == 0; }, limit);
}

// The same, and then until the run's worker has returned, which it does just
// after telling the dialog that the run has finished.
inline bool WaitUntilIdle(const DriveTester& tester, const TrackedThreads& threads,
                          std::chrono::seconds limit = std::chrono::seconds(30))
{
    return WaitUntilIdle(tester, limit) && threads.WaitUntilEnded(limit);
}

struct EngineRig {
    explicit EngineRig(bool highResolution = true) : clock(1000000, highResolution), files(&clock)
    {
        files.SetTransferTime(100);  // 100 us per transfer unless a test says otherwise
        drives.Register('T', "/virtual");
        services.files = &files;
        services.clock = &clock;
        services.messages = &messages;
        services.threads = &threads;
        services.drives = &drives;
        tester = std::make_unique<DriveTester>(services);
    }

    // Runs to the end with the given parameters on drive T:.
    void Run(int numFiles, int fileSizeKB, int bufSizeKB, int readReps, int writeReps, int sampsSec,
             int simultaneous = 0)
    {
        ASSERT_EQ(tester->SetParameters('T', numFiles, fileSizeKB, bufSizeKB, readReps, writeReps, sampsSec, 0, 0,
                                        simultaneous, &dialog, &results),
                  1);
        tester->Start();
        ASSERT_TRUE(WaitUntilIdle(*tester, threads));
    }

    VirtualClock clock;
    FakeFileBackend files;
    CapturingMessageSink messages;
    TrackedThreads threads;
    DriveTable drives;
    PlatformServices services;
    RecordingResultSink results;
    RecordingDialog dialog;
    std::unique_ptr<DriveTester> tester;
};

// One run carried out on the test's thread with run options the tester does
// not take yet, on in-memory files in "/virtual" and a clock of 1 us ticks.
struct DirectRig {
    DirectRig() : files(&clock) { files.SetTransferTime(100); }

    RunOutcome Run(const RunParameters& parameters, RunOptions options = {})
    {
        const RunContext context {parameters, "/virtual", files,   RunClock(clock, true, TicksFromCount(1000000)),
                                  messages,   &results,   stop,    options};
        return TestRun(context).Execute();
    }

    VirtualClock clock;
    FakeFileBackend files;
    CapturingMessageSink messages;
    RecordingResultSink results;
    std::atomic<std::int32_t> stop {0};
};

}  // namespace kel::test
