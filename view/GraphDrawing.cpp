#include "view/GraphDrawing.h"

#include "view/LineRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace kel {

namespace {

constexpr int kScaleSteps = 10;  // gridlines of a tenth of the top each
// The default layout: labels centred 13 pixels left of the axis at x 29.
constexpr int kDefaultOriginX = 29;
constexpr int kDefaultLabelX = 16;
constexpr int kLabelMargin = 2;   // from the image's left edge
constexpr int kLabelAxisGap = 3;  // between the widest label and the axis
constexpr double kFarOffset = 16777216.0;

// A pen with a current position, so a curve reads as a chain of moves and
// lines ending where the next one starts.
class Pen {
public:
    Pen(Canvas& image, Colour colour, Point at) : m_image(image), m_colour(colour), m_at(at) {}
    void LineTo(Point to)
    {
        DrawLineExcludingEnd(m_image, m_at, to, m_colour);
        m_at = to;
    }
    void MoveTo(Point to) { m_at = to; }
    Point At() const { return m_at; }

private:
    Canvas& m_image;
    Colour m_colour;
    Point m_at;
};

void DrawScale(Canvas& image, const GraphLayout& layout)
{
    const int topDotLimit = layout.axisWidth - (layout.legendWidth + 3);
    for (int k = 0; k <= kScaleSteps; ++k) {
        const int y = layout.baseY - k * layout.gridStep;
        const bool top = k == kScaleSteps;
        DrawOpaqueText(image, FontRole::Axis, layout.labelX, y + (top ? 6 : 4), TextAnchor::CentreBaseline,
                       ScaleLabel(layout.scaleTop, k));
        if (k == 0) {
            continue;
        }
        // The top gridline stops short of the legend box.
        const int limit = top ? topDotLimit : layout.axisWidth - 5;
        for (int j = 0; 3 * j < limit; ++j) {
            SetImagePixel(image, layout.originX + 1 + 3 * j, y, kBlackPen);
        }
    }
}

void DrawThreshold(Canvas& image, const GraphLayout& layout, int thousandths, Colour colour)
{
    if (thousandths <= 0) {
        return;
    }
    const int y = RateToY(layout, thousandths * 0.001);
    DrawLineExcludingEnd(image, {layout.originX + 1, y}, {layout.originX + 1 + layout.axisWidth - 5, y}, colour);
}

void DrawLegend(Canvas& image, const GraphLayout& layout, Size client, int simultaneous)
{
    const int right = client.width;
    const int left = right - layout.legendWidth - 11;
    const int top = 9;
    FrameImageRect(image, left, top, right - 11, top + layout.legendHeight, kShadowColour);
    FrameImageRect(image, left + 1, top + 1, right - 10, top + 1 + layout.legendHeight, kLightColour);

    // The white frame is the reference for the legend's contents.
    const int boxLeft = left + 1;
    const int boxTop = top + 1;
    const int half = layout.legendWidth / 2;
    const int playY = boxTop + (10 * layout.legendHeight) / 22;
    const int recordY = boxTop + (10 * layout.legendHeight) / 12;
    DrawOpaqueText(image, FontRole::Axis, boxLeft + half - 5, playY, TextAnchor::LeftBaseline,
                   "Play");
    DrawOpaqueText(image, FontRole::Axis, boxLeft + half - 5, recordY, TextAnchor::LeftBaseline,
                   "Record");

    const int lineStart = boxLeft + 5;
    const int lineEnd = boxLeft + half - 8;
    if (simultaneous != 0) {
        // One blue line between the two words: every pass reads and writes.
        const int y = (playY + recordY) / 2 - 5;
        DrawLineExcludingEnd(image, {lineStart, y}, {lineEnd, y}, kReadPen);
    } else {
        DrawLineExcludingEnd(image, {lineStart, playY - 5}, {lineEnd, playY - 5}, kReadPen);
        DrawLineExcludingEnd(image, {lineStart, recordY - 5}, {lineEnd, recordY - 5}, kWritePen);
    }
}

}  // namespace

GraphLayout ComputeGraphLayout(Size clientSize, int scaleTop, int widestLabel)
{
    const int right = clientSize.width;
    const int bottom = clientSize.height;
    GraphLayout layout;
    layout.scaleTop = scaleTop;
    // Labels are centred like DrawOpaqueText centres them: left edge at
    // centre - width / 2.
    layout.labelX = std::max(kDefaultLabelX, kLabelMargin + widestLabel / 2);
    const int labelRight = layout.labelX - widestLabel / 2 + widestLabel;
    layout.originX = std::max(kDefaultOriginX, labelRight + kLabelAxisGap);
    layout.axisTopY = 20;
    layout.baseY = bottom - 23;
    layout.axisWidth = right - 13 - layout.originX;
    layout.gridStep = (bottom - 47) / 10;
    layout.plotWidth = layout.axisWidth - 4;
    layout.legendWidth = right / 7 + 1;
    layout.legendHeight = bottom / 9 + 1;
    return layout;
}

std::string ScaleLabel(int top, int k)
{
    const long long tenths = static_cast<long long>(top) * k;
    const long long whole = tenths / 10;
    const long long fraction = tenths % 10;
    return fraction == 0 ? std::to_string(whole) : std::to_string(whole) + "." + std::to_string(fraction);
}

int WidestScaleLabel(const Canvas& canvas, int top)
{
    int widest = 0;
    for (int k = 0; k <= kScaleSteps; ++k) {
        widest = std::max(widest, canvas.MeasureText(FontRole::Axis, ScaleLabel(top, k)).width);
    }
    return widest;
}

int RateToY(const GraphLayout& layout, double rate)
{
    // Grid steps per MB/s; exactly 0.5 for the default top of 20, so the
    // default scale keeps its pixels.
    const double stepsPerRate = static_cast<double>(kScaleSteps) / layout.scaleTop;
    double offset = layout.gridStep * stepsPerRate * rate + 0.5;
    if (std::isnan(offset)) {
        offset = 0.0;
    }
    offset = std::fmin(std::fmax(offset, -kFarOffset), kFarOffset);
    return layout.baseY - static_cast<int>(offset);
}

void DrawEmptyGraph(Canvas& image, const GraphLayout& layout, const GraphSettings& settings)
{
    const Size client = image.Dimensions();
    if (client.IsEmpty()) {
        return;
    }
    FillImageRect(image, 0, 0, client.width, client.height, kBackColour);
    DrawImageEdge3d(image, kShadowColour, kLightColour);

    Pen axes(image, kBlackPen, {layout.originX, layout.axisTopY});
    axes.LineTo({layout.originX, layout.baseY});
    axes.LineTo({client.width - 13, layout.baseY});

    DrawScale(image, layout);
    DrawThreshold(image, layout, settings.minRead, kMinReadPen);
    DrawThreshold(image, layout, settings.minWrite, kMinWritePen);

    DrawOpaqueText(image, FontRole::Axis, layout.originX, layout.axisTopY - 4, TextAnchor::CentreBaseline,
                   "MB/s");
    DrawOpaqueText(image, FontRole::Axis, layout.originX + layout.axisWidth / 2, layout.baseY + 14,
                   TextAnchor::CentreBaseline, "Repetitions");
    DrawLegend(image, layout, client, settings.simultaneous);
}

std::string AboveScaleMarkText(int scaleTop)
{
    return "Curves above " + std::to_string(scaleTop) + " MB/s";
}

void DrawAboveScaleMark(Canvas& image, const GraphLayout& layout)
{
    if (image.Dimensions().IsEmpty()) {
        return;
    }
    constexpr int kArrowWidth = 7;  // a solid triangle, 4 rows, point at the top
    constexpr int kArrowGap = 3;
    const std::string text = AboveScaleMarkText(layout.scaleTop);
    const TextExtent metrics = image.MeasureText(FontRole::Axis, text);
    const int right = image.Dimensions().width - layout.legendWidth - 11 - 6;
    const int textLeft = right - metrics.width;
    const int baseline = layout.axisTopY - 4;  // the line of the "MB/s" caption
    const int arrowLeft = textLeft - kArrowGap - kArrowWidth;
    FillImageRect(image, arrowLeft - 1, baseline - metrics.ascent, textLeft, baseline + metrics.descent,
                  kBackColour);
    for (int row = 0; row < 4; ++row) {
        const int y = baseline - 8 + 2 * row;
        // Two rows per step, widening by two pixels: 1, 3, 5, 7 wide.
        for (const int dy : {0, 1}) {
            DrawLineExcludingEnd(image, {arrowLeft + 3 - row, y + dy}, {arrowLeft + 4 + row, y + dy}, kBlackPen);
        }
    }
    DrawOpaqueText(image, FontRole::Axis, textLeft, baseline, TextAnchor::LeftBaseline, text);
}

namespace {

// A pass's curve through count points (pointAt(0) being the first sample's);
// the joins, the level line and the axis follow the pass and its samples.
template <typename PointAt>
void DrawCurve(Canvas& image, const GraphLayout& layout, const PassCurve& pass, int count, PointAt pointAt,
               Point& lastPoint)
{
    const std::int64_t a = pass.passNumber;
    const std::int64_t n = pass.passCount;
    const int c = pass.sampleCount;
    const int xStart = layout.originX + static_cast<int>(((a - 1) * layout.plotWidth) / n);
    const int xEnd = layout.originX + static_cast<int>((a * layout.plotWidth) / n);
    const int firstY = pointAt(0).y;

    Pen pen(image, CurvePen(pass.isWrite, pass.lighter), lastPoint);
    if (a == 1) {
        pen.MoveTo({xStart, firstY});
    } else {
        // The last pass's lone sample stands in the middle of its span.
        const int d = (a == n && c == 1) ? (xEnd - xStart) / 2 : 0;
        pen.LineTo({xStart + d, firstY});
    }
    for (int i = 1; i < count; ++i) {
        pen.LineTo(pointAt(i));
    }
    if (n == 1 && c == 1) {
        // A run of one pass with one sample shows its rate as a level line.
        pen.LineTo({xEnd, firstY});
    }
    lastPoint = pen.At();

    // The curve's first segments can cover the vertical axis; draw it again.
    if (n == 1 || (a == 1 && c > 1) || a == 2) {
        DrawLineExcludingEnd(image, {layout.originX, layout.baseY},
                             {layout.originX, layout.baseY - kScaleSteps * layout.gridStep}, kBlackPen);
    }
}

// The points whose vertical strokes cover what a column's samples cover: all
// from its lowest to its highest pixel, less the last sample's pixel when
// the strokes do not reach it.
void AddColumnPoints(std::vector<Point>& points, int x, int first, int low, int high, int last, bool lastReached)
{
    const int top = std::max(low, high);
    const int bottom = std::min(low, high);
    points.push_back({x, first});
    if (top == bottom) {
        return;
    }
    const int far = last == top ? bottom : top;  // the extreme the last sample is not at
    const int near = last == top ? top : bottom;
    if (!lastReached) {
        points.push_back({x, far});
    } else if (last == top || last == bottom) {
        points.insert(points.end(), {{x, near}, {x, far}});
    } else {
        points.insert(points.end(), {{x, bottom}, {x, top}});
    }
    points.push_back({x, last});
}

}  // namespace

Colour CurvePen(bool isWrite, int lighter)
{
    const Colour pen = isWrite ? kWritePen : kReadPen;
    if (lighter <= 0) {
        return pen;
    }
    // Half-way to the background, then a little further for each later run.
    const int towards = std::min(50 + 12 * (lighter - 1), 86);
    const auto mix = [towards](int a, int b) { return a + (b - a) * towards / 100; };
    const auto channel = [](Colour c, int shift) { return static_cast<int>((c >> shift) & 0xFFu); };
    return RgbColour(mix(channel(pen, 16), channel(kBackColour, 16)), mix(channel(pen, 8), channel(kBackColour, 8)),
                     mix(channel(pen, 0), channel(kBackColour, 0)));
}

void DrawRunNames(Canvas& image, const GraphLayout& layout, const std::vector<std::string>& names)
{
    const TextExtent metrics = image.MeasureText(FontRole::Axis, "");
    const int right = image.Dimensions().width - 11;
    int baseline = 9 + layout.legendHeight + 4 + metrics.ascent;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string name = ElideMiddle(image, FontRole::Axis, names[i], layout.axisWidth / 2);
        const int textLeft = right - image.MeasureText(FontRole::Axis, name).width;
        const int y = baseline - metrics.ascent / 2;
        const int lighter = static_cast<int>(i);
        FillImageRect(image, textLeft - 26, baseline - metrics.ascent, textLeft, baseline + metrics.descent,
                      kBackColour);
        DrawLineExcludingEnd(image, {textLeft - 24, y - 1}, {textLeft - 14, y - 1}, CurvePen(true, lighter));
        DrawLineExcludingEnd(image, {textLeft - 12, y - 1}, {textLeft - 2, y - 1}, CurvePen(false, lighter));
        DrawOpaqueText(image, FontRole::Axis, textLeft, baseline, TextAnchor::LeftBaseline, name);
        baseline += metrics.ascent + metrics.descent;
    }
}

void DrawPassCurve(Canvas& image, const GraphLayout& layout, const PassCurve& pass, Point& lastPoint)
{
    const std::int64_t c = pass.sampleCount;
    const int xStart = layout.originX + static_cast<int>(((pass.passNumber - 1LL) * layout.plotWidth) / pass.passCount);
    const std::int64_t span = PassSpan(layout, pass.passNumber, pass.passCount);
    DrawCurve(
        image, layout, pass, pass.sampleCount,
        [&](int k) {
            return Point(xStart + static_cast<int>((k * span) / c), RateToY(layout, pass.samples[k]));
        },
        lastPoint);
}

int PassSpan(const GraphLayout& layout, int passNumber, int passCount)
{
    const std::int64_t a = passNumber;
    return static_cast<int>((a * layout.plotWidth) / passCount - ((a - 1) * layout.plotWidth) / passCount);
}

void DrawColumnCurve(Canvas& image, const GraphLayout& layout, const PassCurve& pass, const CurveColumn* columns,
                     int columnCount, bool lastReached, Point& lastPoint)
{
    if (columnCount < 1) {
        return;
    }
    const int xStart = layout.originX + static_cast<int>(((pass.passNumber - 1LL) * layout.plotWidth) / pass.passCount);
    std::vector<Point> points;
    points.reserve(static_cast<std::size_t>(columnCount) * 4);
    for (int i = 0; i < columnCount; ++i) {
        const CurveColumn& column = columns[i];
        AddColumnPoints(points, xStart + column.column, RateToY(layout, column.first), RateToY(layout, column.low),
                        RateToY(layout, column.high), RateToY(layout, column.last),
                        i + 1 < columnCount || lastReached);
    }
    DrawCurve(
        image, layout, pass, static_cast<int>(points.size()), [&](int i) { return points[static_cast<std::size_t>(i)]; },
        lastPoint);
}

}  // namespace kel
