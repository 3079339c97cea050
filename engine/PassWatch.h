#pragma once
// Follows a pass transfer by transfer, from the clock reading after each:
// the longest transfer, and the shortfall of the drive behind a stream at
// the kind's minimum rate. The shortfall is taken just before each transfer
// completes (the time at its end, the bytes done before it), where it is
// largest; its peak is the buffer the stream needs. O(1) per transfer.

#include "engine/PassFigures.h"
#include "engine/Ticks64.h"

#include <cstdint>
#include <string>

namespace kel {

class PassWatch {
public:
    // minRate in thousandths of an MB/s; 0 or less: no stream to follow.
    void Start(Ticks64 passStart, Ticks64 ticksPerSec, std::int32_t minRate);

    // A complete transfer of bytes; now is the clock reading right after it.
    void Transferred(Ticks64 now, std::uint32_t bytes)
    {
        const std::uint64_t t = Count(now);
        if (t - m_last > m_longest) {
            m_longest = t - m_last;
            m_longestStart = m_last;
            m_longestBytesBefore = m_bytes;
        }
        m_last = t;
        if (m_streamBytesPerTick > 0.0) {
            Follow(t, bytes);
        }
        m_bytes += bytes;
    }

    StallFigure Stall() const;
    StreamFigure Stream() const;

private:
    static std::uint64_t Count(Ticks64 t) { return (static_cast<std::uint64_t>(t.high) << 32) | t.low; }
    void Follow(std::uint64_t t, std::uint32_t bytes)
    {
        const double shortfall = m_streamBytesPerTick * static_cast<double>(t - m_start) - static_cast<double>(m_bytes);
        if (shortfall <= 0.0) {
            m_keptUpBytes = m_bytes + bytes;
            m_peakSinceKeptUp = 0.0;
        } else if (shortfall > m_peakSinceKeptUp) {
            m_peakSinceKeptUp = shortfall;
        }
        if (shortfall > m_peak) {
            m_peak = shortfall;
        }
        if (bytes > m_largestTransfer) {
            m_largestTransfer = bytes;
        }
        m_shortfall = shortfall;
    }

    double m_ticksPerSec = 1.0;
    std::uint64_t m_start = 0;
    std::uint64_t m_last = 0;
    std::uint64_t m_bytes = 0;
    std::uint64_t m_longest = 0;
    std::uint64_t m_longestStart = 0;
    std::uint64_t m_longestBytesBefore = 0;
    std::int32_t m_minRate = 0;
    double m_streamBytesPerTick = 0.0;
    double m_shortfall = 0.0;
    double m_peak = 0.0;
    double m_peakSinceKeptUp = 0.0;
    std::uint64_t m_keptUpBytes = 0;
    std::uint32_t m_largestTransfer = 0;
};

// A size as people read it: whole KB below 1 MB, else MB or GB with one
// decimal (1 KB = 1024 bytes); roundUp for sizes that must be at least so.
std::string SizeText(double bytes, bool roundUp);

// "sustains 12.000 MB/s with a 3.1 MB buffer" or "falls behind 12.000 MB/s
// for good after 1.8 GB"; empty when the kind has no minimum rate.
std::string StreamVerdictText(const StreamFigure& stream);

// Where a cache cliff came and the rates around it: "after 3.2 GB (41.0 s):
// 1450.000 -> 380.000 MB/s"; empty when none was found.
std::string CliffText(const CliffFigure& cliff);

}  // namespace kel
