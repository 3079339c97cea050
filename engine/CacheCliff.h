#pragma once
// The lasting fall of a write pass's rate, as when a drive's fast cache is
// full and the writes go on at the speed of the memory behind it.
//
// The rule, over the pass's samples in time order: the split into a part
// before and a part after is the one that best explains the samples as two
// levels (the largest s * (n - s) * (before - after)^2, s samples before,
// the between-parts variance), with each part at least 3 samples and a tenth
// of the pass. It is a cliff when the mean after is at most 75 % of the mean
// before, and the last half of the part after is too: the fall lasts.

#include "engine/PassFigures.h"

namespace kel {

inline constexpr int kCliffMinSamples = 3;
inline constexpr double kCliffMostAfter = 0.75;  // of the rate before

// sampleSeconds is the pass's sample interval: where the fall came, in
// seconds and bytes, is counted on that grid.
CliffFigure FindCacheCliff(const double* samples, int sampleCount, double sampleSeconds);

}  // namespace kel
