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

}  // namespace kel
