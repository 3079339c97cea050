#pragma once
// Samples the transfer rate of one pass on a fixed time grid. A sample is
// taken at the first check after a deadline has passed and covers the bytes
// and the true time since the previous sample; the deadlines stay on the grid
// counted from the start of the pass, so a late sample shifts no later one.
// Also the arithmetic every pass shares: the sample interval, the deadline
// grid counted from the start of a pass, and bytes over time as MB/s (an MB
// being 1,048,576 bytes).

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

class PassSampler {
public:
    // samples must hold one double per sample check of the longest pass.
    PassSampler(double interval, Ticks64 ticksPerSec, double* samples)
        : m_interval(interval), m_ticksPerSec(ticksPerSec), m_samples(samples)
    {
    }

    // The pass's transfers begin; all its files are open.
    void Start(Ticks64 now);

    // A complete transfer of this many bytes.
    void Count(std::uint32_t bytes)
    {
        m_bytesSinceSample += bytes;
        m_passBytes += bytes;
    }

    // The check after a transfer (write pass) or sweep (read pass): one clock
    // reading and one comparison unless a sample is due. False when a sample is
    // due but the clock has not moved since the previous one.
    bool Check(Ticks64 now)
    {
        m_now = now;
        if (TicksAtLeast(now, m_deadline) == 0) {
            return true;
        }
        return TakeSample();
    }

    // After the last transfer and its check. A pass with no sample becomes one
    // sample; false when it took no measurable time at all.
    bool Finish();

    std::int32_t SampleCount() const { return m_sampleCount; }
    const double* Samples() const { return m_samples; }
    double PassRate() const { return m_passRate; }
    std::uint64_t PassBytes() const { return m_passBytes; }

private:
    bool TakeSample();
    void StoreSample();

    double m_interval;
    Ticks64 m_ticksPerSec;
    double* m_samples;

    Ticks64 m_passStart;
    Ticks64 m_deadline;
    Ticks64 m_lastSampleTime;
    Ticks64 m_now;
    std::int32_t m_sampleCount = 0;
    // 64 bits: one pass may move far more than 4 GB.
    std::uint64_t m_bytesSinceSample = 0;
    std::uint64_t m_passBytes = 0;
    double m_passRate = 0.0;
};

}  // namespace kel
