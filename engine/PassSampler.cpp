#include "engine/PassSampler.h"

namespace kel {

void PassSampler::Start(Ticks64 now)
{
    m_sampleCount = 0;
    m_passStart = now;
    m_deadline = AddTicks(m_passStart, DoubleToTicks(m_interval));
    m_passBytes = 0;
    m_bytesSinceSample = 0;
    m_lastSampleTime = m_passStart;
    m_now = m_passStart;
    m_passRate = 0.0;
}

void PassSampler::StoreSample()
{
    m_samples[m_sampleCount] = RateMBs(m_bytesSinceSample, SecondsBetween(m_lastSampleTime, m_now, m_ticksPerSec));
    ++m_sampleCount;
}

bool PassSampler::TakeSample()
{
    if (TicksEqual(m_lastSampleTime, m_now) != 0) {
        return false;
    }
    StoreSample();
    m_deadline = NextDeadline(m_passStart, m_sampleCount, m_interval);
    m_bytesSinceSample = 0;
    m_lastSampleTime = m_now;
    return true;
}

bool PassSampler::Finish()
{
    if (TicksEqual(m_lastSampleTime, m_passStart) != 0) {
        if (TicksEqual(m_lastSampleTime, m_now) != 0) {
            return false;
        }
        StoreSample();
    }
    m_passRate = RateMBs(m_passBytes, SecondsBetween(m_passStart, m_now, m_ticksPerSec));
    return true;
}

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
