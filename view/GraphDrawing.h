#pragma once
// The graph image: the empty graph with its rate scale (0 to 20 MB/s unless
// another top is given), legend and threshold lines, and the curve of one
// pass added on top of it.

#include "view/Canvas.h"
#include "view/GraphScale.h"

#include <string>
#include <vector>

namespace kel {

struct GraphLayout {
    int originX = 0;    // x of the vertical axis
    int axisTopY = 0;
    int baseY = 0;      // y of 0 MB/s
    int axisWidth = 0;
    int gridStep = 0;   // pixels per tenth of the scale (2 MB/s by default)
    int plotWidth = 0;  // shared by all passes of one kind
    int legendWidth = 0;
    int legendHeight = 0;
    int scaleTop = kDefaultScaleTop;  // MB/s at the top gridline
    int labelX = 0;                   // centre of the scale labels
};

struct GraphSettings {
    int simultaneous = 0;
    int minRead = 0;   // thousandths of an MB/s; 0 or less: no line
    int minWrite = 0;
};

// The layout for a scale from 0 to scaleTop MB/s whose widest label is
// widestLabel pixels wide. Labels up to 20 pixels wide leave the default
// layout as it is; wider ones move the vertical axis right, so that no label
// is cut by the image's edge or touches the axis.
GraphLayout ComputeGraphLayout(Size clientSize, int scaleTop = kDefaultScaleTop, int widestLabel = 0);

// The label of the k-th gridline (k = 0 to 10) of a scale up to top MB/s:
// k tenths of the top, with one decimal only where it is not whole.
std::string ScaleLabel(int top, int k);

// Width in pixels of the widest label of that scale in the canvas's axis font.
int WidestScaleLabel(const Canvas& canvas, int top);

// y of a rate in MB/s. Not clamped to the scale: a rate above the top lies
// above the top gridline, possibly outside the image. Only absurd rates (and
// NaN, taken as 0) are limited, to keep pixel arithmetic in range.
int RateToY(const GraphLayout& layout, double rate);

void DrawEmptyGraph(Canvas& image, const GraphLayout& layout, const GraphSettings& settings);

// The mark of a fixed scale that leaves samples above its top: an arrow
// pointing up and "Curves above N MB/s" at the image's top edge, ending left
// of the legend. Its cell is filled with the background first.
void DrawAboveScaleMark(Canvas& image, const GraphLayout& layout);
std::string AboveScaleMarkText(int scaleTop);

struct PassCurve {
    int passNumber = 1;  // 1-based among the passes of its kind
    int passCount = 1;   // passes of its kind in the run, at least 1
    const double* samples = nullptr;
    int sampleCount = 0;  // at least 1
    bool isWrite = false;
    int lighter = 0;  // 0: the kind's colour; 1, 2, ...: ever lighter shades of it, for runs compared
};

// The kind's pen, lighter by steps towards the background.
Colour CurvePen(bool isWrite, int lighter);

// The legend's rows naming the runs drawn, below its box: for each a short
// line in its Record and Play shades and its name, the first run's at the top.
// A name too wide for half the axis loses its middle.
void DrawRunNames(Canvas& image, const GraphLayout& layout, const std::vector<std::string>& names);

// Adds one pass's curve, joined on to the curve so far; lastPoint carries the
// curve's end from pass to pass.
void DrawPassCurve(Canvas& image, const GraphLayout& layout, const PassCurve& pass, Point& lastPoint);

// Pixels from a pass's first column to its last one's right edge.
int PassSpan(const GraphLayout& layout, int passNumber, int passCount);

// One pixel column of a pass's curve, reduced from the samples drawn in it:
// the first, lowest, highest and last rate (NaN counted as 0, where it is
// drawn). Pixel for pixel they draw what the samples draw, whatever the
// scale, except whether the strokes within the pass's last column reach its
// last sample's pixel, which lastReached tells.
struct CurveColumn {
    int column = 0;  // pixels right of the pass's start
    double first = 0.0;
    double low = 0.0;
    double high = 0.0;
    double last = 0.0;
};

// The pass's curve as DrawPassCurve draws it, from its columns (and the
// sample count of pass); pass.samples is not read.
void DrawColumnCurve(Canvas& image, const GraphLayout& layout, const PassCurve& pass, const CurveColumn* columns,
                     int columnCount, bool lastReached, Point& lastPoint);

}  // namespace kel
