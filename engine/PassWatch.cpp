#include "engine/PassWatch.h"

#include "platform/DecimalText.h"

#include <cmath>

namespace kel {

namespace {
constexpr double kBytesPerMB = 1048576.0;
}

void PassWatch::Start(Ticks64 passStart, Ticks64 ticksPerSec, std::int32_t minRate)
{
    *this = PassWatch();
    m_ticksPerSec = static_cast<double>(Count(ticksPerSec));
    m_start = Count(passStart);
    m_last = m_start;
    m_minRate = minRate;
    if (minRate > 0) {
        m_streamBytesPerTick = minRate / 1000.0 * kBytesPerMB / m_ticksPerSec;
    }
}

StallFigure PassWatch::Stall() const
{
    StallFigure stall;
    stall.seconds = static_cast<double>(m_longest) / m_ticksPerSec;
    stall.atSeconds = static_cast<double>(m_longestStart - m_start) / m_ticksPerSec;
    stall.bytesBefore = m_longestBytesBefore;
    return stall;
}

StreamFigure PassWatch::Stream() const
{
    StreamFigure stream;
    if (m_streamBytesPerTick <= 0.0) {
        return stream;
    }
    stream.judged = true;
    stream.rate = m_minRate / 1000.0;
    stream.bufferBytes = m_peak;
    // Behind for good: short at every reading since it last kept up, and at
    // the end within one transfer of the peak since then, so the drive shows
    // no sign of catching up; a buffer of any size would overflow in time.
    stream.fallsBehind = m_shortfall > 0.0 && m_shortfall + m_largestTransfer >= m_peakSinceKeptUp;
    stream.behindAfterBytes = m_keptUpBytes;
    return stream;
}

std::string SizeText(double bytes, bool roundUp)
{
    const auto scaled = [roundUp](double value, int decimals) {
        const double step = std::pow(10.0, decimals);
        return (roundUp ? std::ceil(value * step) : std::round(value * step)) / step;
    };
    if (bytes < kBytesPerMB) {
        return FixedText(scaled(bytes / 1024.0, 0), 0) + " KB";
    }
    if (bytes < kBytesPerMB * 1024.0) {
        return FixedText(scaled(bytes / kBytesPerMB, 1), 1) + " MB";
    }
    return FixedText(scaled(bytes / (kBytesPerMB * 1024.0), 1), 1) + " GB";
}

std::string CliffText(const CliffFigure& cliff)
{
    if (!cliff.found) {
        return {};
    }
    return "after " + SizeText(cliff.atBytes, false) + " (" + FixedText(cliff.atSeconds, 1) +
           " s): " + FixedText(cliff.fastRate, 3) + " -> " + FixedText(cliff.slowRate, 3) + " MB/s";
}

std::string StreamVerdictText(const StreamFigure& stream)
{
    if (!stream.judged) {
        return {};
    }
    const std::string rate = FixedText(stream.rate, 3) + " MB/s";
    if (stream.fallsBehind) {
        return "falls behind " + rate + " for good after " +
               SizeText(static_cast<double>(stream.behindAfterBytes), false);
    }
    return "sustains " + rate + " with a " + SizeText(stream.bufferBytes, true) + " buffer";
}

}  // namespace kel
