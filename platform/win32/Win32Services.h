#pragma once
// This system's clock and worker threads, as the engine's services take them.

#include "platform/PlatformServices.h"
#include "platform/WorkerThread.h"

namespace kel {

// QueryPerformanceCounter as the high-resolution counter and GetTickCount as
// the millisecond count. Constructed without the counter, the clock reports
// none, so the engine's millisecond path runs for real.
class Win32Clock : public ClockSource {
public:
    explicit Win32Clock(bool highResolution = true) : m_highResolution(highResolution) {}
    bool QueryFrequency(std::uint64_t& ticksPerSec) override;
    std::uint64_t QueryCounter() override;
    std::uint32_t TickCount() override;

private:
    bool m_highResolution;
};

// Threads created suspended and raised to THREAD_PRIORITY_TIME_CRITICAL
// before they are resumed.
class Win32ThreadFactory : public ThreadFactory {
public:
    std::unique_ptr<WorkerThread> NewThread() override;
};

}  // namespace kel
