#pragma once
// QueryPerformanceCounter as the high-resolution counter and GetTickCount as
// the millisecond count. Constructed without the counter, the clock reports
// none, so the engine's millisecond path runs for real.

#include "platform/Clock.h"

namespace kel {

class Win32Clock : public ClockSource {
public:
    explicit Win32Clock(bool highResolution = true) : m_highResolution(highResolution) {}
    bool QueryFrequency(std::uint64_t& ticksPerSec) override;
    std::uint64_t QueryCounter() override;
    std::uint32_t TickCount() override;

private:
    bool m_highResolution;
};

}  // namespace kel
