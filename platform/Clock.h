#pragma once
// The clocks the engine can time with: a high-resolution counter when the
// system has one, and a millisecond count since system start otherwise.

#include <cstdint>

namespace kel {

class ClockSource {
public:
    virtual ~ClockSource() = default;
    // Counter frequency in ticks per second; false when there is no
    // high-resolution counter (ticksPerSec is then left alone).
    virtual bool QueryFrequency(std::uint64_t& ticksPerSec) = 0;
    virtual std::uint64_t QueryCounter() = 0;
    // Milliseconds since system start; wraps after 2^32 ms.
    virtual std::uint32_t TickCount() = 0;
};

}  // namespace kel
