#pragma once
// This system's clock and worker threads, as the engine's services take them.

#include "platform/PlatformServices.h"
#include "platform/WorkerThread.h"

namespace kel {

// CLOCK_MONOTONIC in nanoseconds as the high-resolution counter. Constructed
// without it, the clock reports no counter, so the engine's millisecond path
// runs for real.
class PosixClock : public ClockSource {
public:
    explicit PosixClock(bool highResolution = true) : m_highResolution(highResolution) {}
    bool QueryFrequency(std::uint64_t& ticksPerSec) override;
    std::uint64_t QueryCounter() override;
    std::uint32_t TickCount() override;

private:
    bool m_highResolution;
};

class PosixThreadFactory : public ThreadFactory {
public:
    std::unique_ptr<WorkerThread> NewThread() override;
};

}  // namespace kel
