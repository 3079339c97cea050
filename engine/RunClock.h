#pragma once
// The clock a run is timed with: the high-resolution counter in its own ticks
// when the system has one, else the millisecond count as ticks of 1/1000 s.

#include "engine/Ticks64.h"
#include "platform/PlatformServices.h"

namespace kel {

class RunClock {
public:
    RunClock(ClockSource& source, bool hasPerfCounter, Ticks64 ticksPerSec)
        : m_source(&source), m_hasPerfCounter(hasPerfCounter), m_ticksPerSec(ticksPerSec)
    {
    }

    Ticks64 Read() const
    {
        if (m_hasPerfCounter) {
            return TicksFromCount(m_source->QueryCounter());
        }
        return Ticks64 {m_source->TickCount(), 0};
    }
    Ticks64 TicksPerSecond() const { return m_ticksPerSec; }
    bool HasPerfCounter() const { return m_hasPerfCounter; }

private:
    ClockSource* m_source;
    bool m_hasPerfCounter;
    Ticks64 m_ticksPerSec;
};

}  // namespace kel
