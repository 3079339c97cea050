#include "engine/Sampling.h"

namespace kel {

double SampleInterval(Ticks64 ticksPerSec, std::int32_t sampsSec, std::int32_t numFiles)
{
    if (sampsSec != 0) {
        const double perSample = TicksToDouble(ticksPerSec) / sampsSec;
        return perSample * numFiles;
    }
    return TicksToDouble(ticksPerSec) * 100.0;
}

Ticks64 NextDeadline(Ticks64 passStart, std::int32_t samplesTaken, double interval)
{
    const double offset = (samplesTaken + 1) * interval;
    return AddTicks(passStart, DoubleToTicks(offset));
}

double SecondsBetween(Ticks64 t0, Ticks64 t1, Ticks64 ticksPerSec)
{
    return TicksToDouble(SubTicks(t1, t0)) / TicksToDouble(ticksPerSec);
}

double RateMBs(std::uint64_t bytes, double seconds)
{
    const double rate = static_cast<double>(bytes) / seconds * 9.5367431640625e-07;
    return rate;
}

}  // namespace kel
