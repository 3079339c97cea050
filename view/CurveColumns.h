#pragma once
// A pass's samples reduced to the pixel columns of its curve, so a long pass
// can be drawn again on another scale from a few values per column.

#include "view/GraphDrawing.h"

#include <vector>

namespace kel {

// The columns of a pass of sampleCount samples (at least 1) drawn over span
// pixels, placed as DrawPassCurve places the samples.
std::vector<CurveColumn> ReduceToColumns(const double* samples, int sampleCount, int span);

// Whether, in layout, the strokes between the samples of the pass's last
// column reach the pixel of its last sample.
bool LastSampleReached(const GraphLayout& layout, const double* samples, int sampleCount, int span);

}  // namespace kel
