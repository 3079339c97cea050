#include "platform/posix/PosixServices.h"

#include <time.h>

namespace kel {

bool PosixClock::QueryFrequency(std::uint64_t& ticksPerSec)
{
    if (!m_highResolution) {
        return false;
    }
    ticksPerSec = 1000000000u;
    return true;
}

std::uint64_t PosixClock::QueryCounter()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000000000u + static_cast<std::uint64_t>(now.tv_nsec);
}

std::uint32_t PosixClock::TickCount()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

}  // namespace kel
