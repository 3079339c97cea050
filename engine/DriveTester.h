#pragma once
// The test engine: holds one run's parameters and the clock, and carries the
// run out on a worker thread that writes the test files, reads them back,
// samples the rates and hands each finished pass to the results view.

#include "engine/PassFigures.h"
#include "engine/RunClock.h"
#include "engine/RunObservers.h"
#include "engine/RunOutcome.h"
#include "engine/RunParameters.h"
#include "platform/PlatformServices.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace kel {

class WorkerThread;

class DriveTester {
public:
    explicit DriveTester(const PlatformServices& services = DefaultPlatformServices());
    DriveTester(const DriveTester&) = delete;
    DriveTester& operator=(const DriveTester&) = delete;
    // Stops a run still in progress and waits for its thread.
    virtual ~DriveTester();

    // Takes the run's parameters for the test files in rootPath, the window
    // to post WM_TEST_FINISHED to, the view to draw into and the sink told of
    // every run's end with its outcome (each may be null). 1 if taken; 0
    // while a run is in progress, or when a value lies outside what the
    // engine can run, and then no run starts until parameters are taken.
    int SetRun(const std::string& rootPath, const RunParameters& parameters, DialogWindow* dialog,
               PassResultSink* graph, RunEndSink* end = nullptr);
    // The same for a drive letter of the drive table; 0 also when driveLetter
    // is not a letter.
    int SetParameters(int driveLetter, int numFiles, int fileSizeKB, int bufSizeKB, int readReps, int writeReps,
                      int sampsSec, int minRead, int minWrite, int simultaneous, DialogWindow* dialog,
                      PassResultSink* graph);
    // How the next runs treat their data (verified or not); kept until changed.
    void SetRunOptions(const RunOptions& options) { m_options = options; }
    const RunOptions& Options() const { return m_options; }
    // Starts a run with the parameters taken last; does nothing while one
    // runs or when the last parameters were refused.
    void Start();
    // Requests a stop and returns at once; the worker notices it after the
    // transfer in progress.
    void RequestStop() { m_stopRequested.store(1, std::memory_order_release); }
    // Requests a stop and returns once the run has finished its clean-up and
    // its thread has ended.
    void Stop();
    int IsRunning() const { return m_running.load(std::memory_order_acquire); }
    int StopRequested() const { return m_stopRequested.load(std::memory_order_acquire); }
    // How the last run ended, as its end sink was told; read it once
    // IsRunning() is 0.
    const RunOutcome& Outcome() const { return m_outcome; }

    Ticks64 ReadClock() const { return m_clock.Read(); }
    Ticks64 TicksPerSecond() const { return m_clock.TicksPerSecond(); }
    int HasPerfCounter() const { return m_clock.HasPerfCounter() ? 1 : 0; }
    // The folder the test files of the current parameters go to.
    const std::string& RootPath() const { return m_rootPath; }
    const RunParameters& Parameters() const { return m_parameters; }

private:
    static void RunTest(void* tester);
    // Judges the result, keeps the outcome, clears the running flag and tells
    // the end sink and the dialog, as the last step of a run.
    void FinishRun(RunOutcome outcome);

    PlatformServices m_services;
    RunClock m_clock;
    RunParameters m_parameters;
    RunOptions m_options;
    std::string m_rootPath;
    bool m_hasParameters = false;
    DialogWindow* m_dialog = nullptr;
    PassResultSink* m_graph = nullptr;
    RunEndSink* m_endSink = nullptr;
    std::unique_ptr<WorkerThread> m_thread;
    // Stop sleeps on this until the running flag clears. A condition
    // variable, not atomic wait: GCC 12's loses wake-ups on Windows targets.
    std::mutex m_endMutex;
    std::condition_variable m_ended;
    std::atomic<std::int32_t> m_running {0};
    std::atomic<std::int32_t> m_stopRequested {0};
    RunOutcome m_outcome;
};

}  // namespace kel
