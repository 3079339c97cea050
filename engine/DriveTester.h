#pragma once
// The test engine: holds one run's parameters and the clock, and carries the
// run out on a worker thread that writes the test files, reads them back,
// samples the rates and hands each finished pass to the results view.

#include "engine/RunObservers.h"
#include "engine/Ticks64.h"
#include "platform/PlatformServices.h"

#include <atomic>
#include <cstdint>
#include <memory>
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

    // 1 if taken; 0, with nothing changed, while a run is in progress or when
    // driveLetter is not a letter or a value lies outside what the engine can run.
    int SetParameters(int driveLetter, int numFiles, int fileSizeKB, int bufSizeKB, int readReps, int writeReps,
                      int sampsSec, int minRead, int minWrite, int simultaneous, DialogWindow* dialog,
                      PassResultSink* graph);
    // Starts a run with the parameters taken last; does nothing while one runs.
    void Start();
    // Requests a stop and returns once the run has finished its clean-up.
    void Stop();
    int IsRunning() const { return m_running.load(std::memory_order_acquire); }
    int StopRequested() const { return m_stopRequested.load(std::memory_order_acquire); }

    Ticks64 ReadClock() const;
    Ticks64 TicksPerSecond() const { return m_ticksPerSec; }
    int HasPerfCounter() const { return m_hasPerfCounter; }
    // The folder the test files of the current parameters go to.
    const std::string& RootPath() const { return m_rootPath; }

private:
    friend class TestRun;

    void InitClock();
    static void RunTest(void* tester);
    // Clears the running flag and tells the dialog, as the last step of a run.
    void FinishRun();

    PlatformServices m_services;

    char m_driveLetter = 0;
    std::int32_t m_numFiles = 0;
    std::int32_t m_fileSizeKB = 0;
    std::int32_t m_bufSizeKB = 0;
    std::int32_t m_readReps = 0;
    std::int32_t m_writeReps = 0;
    std::int32_t m_sampsSec = 0;
    std::int32_t m_simultaneous = 0;
    DialogWindow* m_dialog = nullptr;
    PassResultSink* m_graph = nullptr;
    std::unique_ptr<WorkerThread> m_thread;
    std::atomic<std::int32_t> m_running {0};
    std::atomic<std::int32_t> m_stopRequested {0};
    std::int32_t m_hasPerfCounter = 0;
    Ticks64 m_ticksPerSec;
    std::string m_rootPath;
};

}  // namespace kel
