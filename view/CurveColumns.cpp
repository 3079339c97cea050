#include "view/CurveColumns.h"

#include <cmath>
#include <cstdint>

namespace kel {

namespace {

std::int64_t ColumnOf(std::int64_t k, std::int64_t span, std::int64_t count)
{
    return (k * span) / count;
}

// NaN is drawn at 0 MB/s, so it counts as 0 among the lowest and highest.
double Drawn(double rate)
{
    return std::isnan(rate) ? 0.0 : rate;
}

}  // namespace

std::vector<CurveColumn> ReduceToColumns(const double* samples, int sampleCount, int span)
{
    std::vector<CurveColumn> columns;
    for (int k = 0; k < sampleCount; ++k) {
        const int column = static_cast<int>(ColumnOf(k, span, sampleCount));
        const double rate = Drawn(samples[k]);
        if (columns.empty() || columns.back().column != column) {
            columns.push_back({column, rate, rate, rate, rate});
            continue;
        }
        CurveColumn& current = columns.back();
        current.low = std::fmin(current.low, rate);
        current.high = std::fmax(current.high, rate);
        current.last = rate;
    }
    return columns;
}

bool LastSampleReached(const GraphLayout& layout, const double* samples, int sampleCount, int span)
{
    const std::int64_t last = sampleCount - 1;
    std::int64_t first = last;
    while (first > 0 && ColumnOf(first - 1, span, sampleCount) == ColumnOf(last, span, sampleCount)) {
        --first;
    }
    // A stroke covers its start's pixel and not its end's.
    const int target = RateToY(layout, samples[last]);
    int from = RateToY(layout, samples[first]);
    for (std::int64_t k = first + 1; k <= last; ++k) {
        const int to = RateToY(layout, samples[k]);
        if ((from <= target && target < to) || (to < target && target <= from)) {
            return true;
        }
        from = to;
    }
    return false;
}

}  // namespace kel
