#include "engine/Ticks64.h"

#include <cmath>

namespace kel {

namespace {
constexpr double kTwoTo32 = 4294967296.0;
}

double TicksToDouble(Ticks64 t)
{
    return static_cast<double>(static_cast<std::int32_t>(t.high)) * kTwoTo32 + static_cast<double>(t.low);
}

Ticks64 DoubleToTicks(double x)
{
    Ticks64 t;
    t.high = static_cast<std::uint32_t>(static_cast<std::int64_t>(std::trunc(x / kTwoTo32)));
    t.low = static_cast<std::uint32_t>(static_cast<std::int64_t>(std::trunc(std::fmod(x, kTwoTo32))));
    return t;
}

}  // namespace kel
