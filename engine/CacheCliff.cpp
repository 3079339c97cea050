#include "engine/PassFigures.h"

#include <algorithm>

namespace kel {

namespace {

double MeanOf(const double* samples, int from, int to)
{
    double sum = 0.0;
    for (int i = from; i < to; ++i) {
        sum += samples[i];
    }
    return sum / (to - from);
}

}  // namespace

CliffFigure FindCacheCliff(const double* samples, int sampleCount, double sampleSeconds)
{
    CliffFigure cliff;
    const int minPart = std::max(kCliffMinSamples, sampleCount / 10);
    if (sampleCount < 2 * minPart) {
        return cliff;
    }
    double total = 0.0;
    for (int i = 0; i < sampleCount; ++i) {
        total += samples[i];
    }
    int bestSplit = 0;
    double bestScore = 0.0;
    double before = 0.0;  // sum of the samples before the split
    for (int s = 1; s < sampleCount; ++s) {
        before += samples[s - 1];
        if (s < minPart || sampleCount - s < minPart) {
            continue;
        }
        const double fall = before / s - (total - before) / (sampleCount - s);
        const double score = static_cast<double>(s) * (sampleCount - s) * fall * fall;
        if (fall > 0.0 && score > bestScore) {
            bestScore = score;
            bestSplit = s;
        }
    }
    if (bestSplit == 0) {
        return cliff;
    }
    const double fast = MeanOf(samples, 0, bestSplit);
    const double slow = MeanOf(samples, bestSplit, sampleCount);
    const double tail = MeanOf(samples, (bestSplit + sampleCount) / 2, sampleCount);
    if (slow > kCliffMostAfter * fast || tail > kCliffMostAfter * fast) {
        return cliff;
    }
    cliff.found = true;
    cliff.fastRate = fast;
    cliff.slowRate = slow;
    cliff.atSeconds = bestSplit * sampleSeconds;
    cliff.atBytes = fast * bestSplit * sampleSeconds * 1048576.0;
    return cliff;
}

}  // namespace kel
