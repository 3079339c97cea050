#pragma once
// The graph image: the empty graph with its fixed 0..20 MB/s scale, legend and
// threshold lines, and the curve of one pass added on top of it.

#include "view/DrawingObjects.h"

#include <QImage>
#include <QPoint>
#include <QSize>

namespace kel {

struct GraphLayout {
    int originX = 0;    // x of the vertical axis
    int axisTopY = 0;
    int baseY = 0;      // y of 0 MB/s
    int axisWidth = 0;
    int gridStep = 0;   // pixels per 2 MB/s
    int plotWidth = 0;  // shared by all passes of one kind
    int legendWidth = 0;
    int legendHeight = 0;
};

struct GraphSettings {
    int simultaneous = 0;
    int minRead = 0;   // thousandths of an MB/s; 0 or less: no line
    int minWrite = 0;
};

GraphLayout ComputeGraphLayout(QSize clientSize);

// y of a rate in MB/s. Not clamped to the scale: a rate above 20 MB/s lies
// above the top gridline, possibly outside the image. Only absurd rates (and
// NaN, taken as 0) are limited, to keep pixel arithmetic in range.
int RateToY(const GraphLayout& layout, double rate);

void DrawEmptyGraph(QImage& image, const DrawingObjects& objects, const GraphLayout& layout,
                    const GraphSettings& settings);

struct PassCurve {
    int passNumber = 1;  // 1-based among the passes of its kind
    int passCount = 1;   // passes of its kind in the run, at least 1
    const double* samples = nullptr;
    int sampleCount = 0;  // at least 1
    bool isWrite = false;
};

// Adds one pass's curve, joined on to the curve so far; lastPoint carries the
// curve's end from pass to pass.
void DrawPassCurve(QImage& image, const GraphLayout& layout, const PassCurve& pass, QPoint& lastPoint);

}  // namespace kel
