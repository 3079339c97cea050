#pragma once
// The arithmetic every pass shares: the sample interval, the deadline grid
// counted from the start of a pass, and bytes over time as MB/s
// (an MB being 1,048,576 bytes).

#include "engine/Ticks64.h"

#include <cstdint>

namespace kel {

// Ticks between two samples. One sample per 100 seconds when sampsSec is 0;
// otherwise the interval grows with the number of files.
double SampleInterval(Ticks64 ticksPerSec, std::int32_t sampsSec, std::int32_t numFiles);

// When sample number samplesTaken + 1 of a pass is due.
Ticks64 NextDeadline(Ticks64 passStart, std::int32_t samplesTaken, double interval);

double SecondsBetween(Ticks64 t0, Ticks64 t1, Ticks64 ticksPerSec);

double RateMBs(std::uint64_t bytes, double seconds);

}  // namespace kel
