#include "view/LineRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace kel {

namespace {

// The first image pixel of a device-independent coordinate.
int DevicePixel(double ratio, std::int64_t v)
{
    return static_cast<int>(std::lround(static_cast<double>(v) * ratio));
}

// Fills image pixels x in [x0, x1), y in [y0, y1), clipped to the image.
void FillDeviceRect(Canvas& image, int x0, int y0, int x1, int y1, Colour colour)
{
    const Size size = image.DevicePixels();
    x0 = std::max(x0, 0);
    x1 = std::min(x1, size.width);
    y0 = std::max(y0, 0);
    y1 = std::min(y1, size.height);
    for (int y = y0; y < y1; ++y) {
        Colour* row = image.Row(y);
        std::fill(row + x0, row + std::max(x0, x1), colour);
    }
}

bool Inside(Size size, std::int64_t x, std::int64_t y)
{
    return x >= 0 && y >= 0 && x < size.width && y < size.height;
}

void PutPixel(Canvas& image, std::int64_t x, std::int64_t y, Colour colour)
{
    const double ratio = image.PixelRatio();
    if (ratio == 1.0) {
        image.Row(static_cast<int>(y))[x] = colour;
        return;
    }
    FillDeviceRect(image, DevicePixel(ratio, x), DevicePixel(ratio, y), DevicePixel(ratio, x + 1),
                   DevicePixel(ratio, y + 1), colour);
}

// Minor-axis offset of step i on a line of `major` steps that moves `minor`
// along the other axis: the nearest pixel to the exact line, ties rounded
// away from the start.
std::int64_t MinorOffset(std::int64_t i, std::int64_t major, std::int64_t minor)
{
    return (2 * i * minor + major) / (2 * major);
}

// The step range [first, last] whose major coordinate start + step * i lies
// in [0, limit); empty when first > last.
void VisibleSteps(std::int64_t start, int step, std::int64_t limit, std::int64_t steps, std::int64_t& first,
                  std::int64_t& last)
{
    if (step > 0) {
        first = std::max<std::int64_t>(0, -start);
        last = std::min<std::int64_t>(steps - 1, limit - 1 - start);
    } else {
        first = std::max<std::int64_t>(0, start - (limit - 1));
        last = std::min<std::int64_t>(steps - 1, start);
    }
}

}  // namespace

void SetImagePixel(Canvas& image, int x, int y, Colour colour)
{
    if (Inside(image.Dimensions(), x, y)) {
        PutPixel(image, x, y, colour);
    }
}

void DrawLineExcludingEnd(Canvas& image, Point from, Point to, Colour colour)
{
    const Size size = image.Dimensions();
    if (size.IsEmpty()) {
        return;
    }
    const std::int64_t dx = std::int64_t {to.x} - from.x;
    const std::int64_t dy = std::int64_t {to.y} - from.y;
    const std::int64_t adx = std::llabs(dx);
    const std::int64_t ady = std::llabs(dy);
    const int sx = dx < 0 ? -1 : 1;
    const int sy = dy < 0 ? -1 : 1;
    const bool xMajor = adx >= ady;
    const std::int64_t steps = xMajor ? adx : ady;  // the end pixel is step `steps`, left out
    if (steps == 0) {
        return;
    }
    // Only the steps whose major coordinate lies inside the image are walked,
    // so a point thousands of pixels away costs no more than one on the edge.
    std::int64_t first = 0;
    std::int64_t last = -1;
    if (xMajor) {
        VisibleSteps(from.x, sx, size.width, steps, first, last);
    } else {
        VisibleSteps(from.y, sy, size.height, steps, first, last);
    }
    for (std::int64_t i = first; i <= last; ++i) {
        std::int64_t x = 0;
        std::int64_t y = 0;
        if (xMajor) {
            x = from.x + sx * i;
            y = from.y + sy * MinorOffset(i, adx, ady);
        } else {
            y = from.y + sy * i;
            x = from.x + sx * MinorOffset(i, ady, adx);
        }
        if (Inside(size, x, y)) {
            PutPixel(image, x, y, colour);
        }
    }
}

void FillImageRect(Canvas& image, int left, int top, int right, int bottom, Colour colour)
{
    const double ratio = image.PixelRatio();
    if (ratio == 1.0) {
        FillDeviceRect(image, left, top, right, bottom, colour);
        return;
    }
    // Clipped first, so that far-away edges cannot overflow when scaled.
    const Size size = image.Dimensions();
    FillDeviceRect(image, DevicePixel(ratio, std::clamp(left, 0, size.width)),
                   DevicePixel(ratio, std::clamp(top, 0, size.height)),
                   DevicePixel(ratio, std::clamp(right, 0, size.width)),
                   DevicePixel(ratio, std::clamp(bottom, 0, size.height)), colour);
}

void FrameImageRect(Canvas& image, int left, int top, int right, int bottom, Colour colour)
{
    if (right <= left || bottom <= top) {
        return;
    }
    FillImageRect(image, left, top, right, top + 1, colour);
    FillImageRect(image, left, bottom - 1, right, bottom, colour);
    FillImageRect(image, left, top, left + 1, bottom, colour);
    FillImageRect(image, right - 1, top, right, bottom, colour);
}

void DrawImageEdge3d(Canvas& image, Colour topLeft, Colour bottomRight)
{
    const int w = image.Dimensions().width;
    const int h = image.Dimensions().height;
    FillImageRect(image, 0, 0, w - 1, 1, topLeft);
    FillImageRect(image, 0, 0, 1, h - 1, topLeft);
    FillImageRect(image, w - 1, 0, w, h, bottomRight);
    FillImageRect(image, 0, h - 1, w, h, bottomRight);
}

}  // namespace kel
