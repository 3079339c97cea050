#pragma once
// What the engine tells the outside world during a run: each finished pass to
// the results view, and the end of a run with its outcome. All are called
// from the worker thread and must never wait for the dialog's thread.

#include "engine/PassFigures.h"
#include "engine/RunOutcome.h"

#include <cstdint>

namespace kel {

// Posted to the dialog at the end of every run that was not stopped.
constexpr std::uint32_t WM_TEST_FINISHED = 0x2400;

class PassResultSink {
public:
    virtual ~PassResultSink() = default;
    // Counts as entered by the user, thresholds in thousandths of an MB/s.
    virtual void ConfigureRun(int readReps, int writeReps, int simultaneous, int minRead, int minWrite) = 0;
    // samples is valid only during the call; sampleCount is at least 1.
    virtual void AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate,
                                int isWrite) = 0;
    // Right after AddPassResults of the same pass: its stall, stream verdict,
    // cliff and bytes verified. Sinks that show only rates leave it alone.
    virtual void AddPassFigures(const PassFigures& /*figures*/) {}
};

// Told once at the end of every run, complete, stopped or failed, after the
// test files are closed and deleted and the running flag is clear. It must
// not start the next run itself: the worker thread is still ending.
class RunEndSink {
public:
    virtual ~RunEndSink() = default;
    virtual void RunEnded(const RunOutcome& outcome) = 0;
};

class DialogWindow {
public:
    virtual ~DialogWindow() = default;
    // Queues the message for the window's thread and returns at once.
    virtual void PostWindowMessage(std::uint32_t message, std::intptr_t wParam, std::intptr_t lParam) = 0;
};

}  // namespace kel
