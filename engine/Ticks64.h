#pragma once
// A 64-bit count of clock ticks held as two 32-bit halves, low half first.
// Comparisons and the conversion to double read the high half as signed.

#include <cmath>
#include <cstdint>

namespace kel {

struct Ticks64 {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
};

inline constexpr double kTwoTo32 = 4294967296.0;

inline double TicksToDouble(Ticks64 t)
{
    return static_cast<double>(static_cast<std::int32_t>(t.high)) * kTwoTo32 + static_cast<double>(t.low);
}

// x must not be negative; the result is x truncated to whole ticks.
inline Ticks64 DoubleToTicks(double x)
{
    Ticks64 t;
    t.high = static_cast<std::uint32_t>(static_cast<std::int64_t>(std::trunc(x / kTwoTo32)));
    t.low = static_cast<std::uint32_t>(static_cast<std::int64_t>(std::trunc(std::fmod(x, kTwoTo32))));
    return t;
}

inline Ticks64 AddTicks(Ticks64 a, Ticks64 b)
{
    Ticks64 sum;
    sum.low = a.low + b.low;
    sum.high = a.high + b.high + (sum.low < a.low ? 1u : 0u);
    return sum;
}

inline Ticks64 SubTicks(Ticks64 a, Ticks64 b)
{
    Ticks64 difference;
    difference.low = a.low - b.low;
    difference.high = a.high - b.high - (difference.low > a.low ? 1u : 0u);
    return difference;
}

inline int TicksAtLeast(Ticks64 a, Ticks64 b)
{
    const auto aHigh = static_cast<std::int32_t>(a.high);
    const auto bHigh = static_cast<std::int32_t>(b.high);
    if (aHigh != bHigh) {
        return aHigh > bHigh ? 1 : 0;
    }
    return a.low >= b.low ? 1 : 0;
}

inline int TicksEqual(Ticks64 a, Ticks64 b)
{
    return a.low == b.low && a.high == b.high ? 1 : 0;
}

inline Ticks64 TicksFromCount(std::uint64_t count)
{
    return Ticks64 {static_cast<std::uint32_t>(count), static_cast<std::uint32_t>(count >> 32)};
}

}  // namespace kel
