#include "view/LineRaster.h"

#include "view/DrawingObjects.h"

#include "ViewTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace kel::test {
namespace {

constexpr QRgb kInk = qRgb(0, 0, 0);

// The raster draws on a canvas; these tests give it a bare image.
QtCanvas On(QImage& image)
{
    static const DrawingObjects objects;
    return QtCanvas(image, objects);
}

void DrawLineExcludingEnd(QImage& image, Point from, Point to, QRgb colour)
{
    QtCanvas canvas = On(image);
    kel::DrawLineExcludingEnd(canvas, from, to, colour);
}

void FrameImageRect(QImage& image, int left, int top, int right, int bottom, QRgb colour)
{
    QtCanvas canvas = On(image);
    kel::FrameImageRect(canvas, left, top, right, bottom, colour);
}

void FillImageRect(QImage& image, int left, int top, int right, int bottom, QRgb colour)
{
    QtCanvas canvas = On(image);
    kel::FillImageRect(canvas, left, top, right, bottom, colour);
}

void DrawImageEdge3d(QImage& image, QRgb topLeft, QRgb bottomRight)
{
    QtCanvas canvas = On(image);
    kel::DrawImageEdge3d(canvas, topLeft, bottomRight);
}

QImage White(int w = 40, int h = 30)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    return image;
}

TEST(LineRule, StartPixelIsDrawnEndPixelIsNot)
{
    for (const auto& [from, to] : {std::pair {QPoint(5, 10), QPoint(15, 10)}, {QPoint(15, 10), QPoint(5, 10)},
                                   {QPoint(7, 3), QPoint(7, 20)}, {QPoint(7, 20), QPoint(7, 3)}}) {
        QImage image = White();
        DrawLineExcludingEnd(image, from, to, kInk);
        EXPECT_EQ(Pixel(image, from.x(), from.y()), Rgb(0, 0, 0));
        EXPECT_NE(Pixel(image, to.x(), to.y()), Rgb(0, 0, 0));
        const int length = std::abs(to.x() - from.x()) + std::abs(to.y() - from.y());
        EXPECT_EQ(CountPixels(image, image.rect(), Rgb(0, 0, 0)), length);
    }
    QImage image = White();
    DrawLineExcludingEnd(image, {4, 4}, {4, 4}, kInk);
    EXPECT_EQ(CountPixels(image, image.rect(), Rgb(0, 0, 0)), 0) << "a zero-length line draws nothing";
}

TEST(LineRule, SlopedLinesAreUnbrokenAndStopOneShortOfTheEnd)
{
    for (const QPoint to : {QPoint(35, 12), QPoint(9, 28), QPoint(1, 2), QPoint(30, 3)}) {
        QImage image = White();
        const QPoint from(10, 15);
        DrawLineExcludingEnd(image, from, to, kInk);
        const int steps = std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()));
        EXPECT_EQ(CountPixels(image, image.rect(), Rgb(0, 0, 0)), steps);
        EXPECT_EQ(Pixel(image, from.x(), from.y()), Rgb(0, 0, 0));
        EXPECT_NE(Pixel(image, to.x(), to.y()), Rgb(0, 0, 0));
        // Every drawn column (or row, for steep lines) holds exactly one pixel.
        const bool xMajor = std::abs(to.x() - from.x()) >= std::abs(to.y() - from.y());
        const int lo = xMajor ? std::min(from.x(), to.x()) : std::min(from.y(), to.y());
        const int hi = xMajor ? std::max(from.x(), to.x()) : std::max(from.y(), to.y());
        for (int m = lo; m <= hi; ++m) {
            const QRect band = xMajor ? QRect(m, 0, 1, image.height()) : QRect(0, m, image.width(), 1);
            const int endOnly = (xMajor ? to.x() : to.y()) == m ? 0 : 1;
            EXPECT_EQ(CountPixels(image, band, Rgb(0, 0, 0)), endOnly) << "band " << m;
        }
    }
}

TEST(LineRule, PointsFarOutsideAreClippedNotClamped)
{
    // Toward a point above the image the line runs up to row 0 on the exact
    // slope; clamping the end point would bend it.
    QImage clipped = White(40, 30);
    DrawLineExcludingEnd(clipped, {0, 20}, {20, -20}, kInk);
    QImage reference = White(40, 80);
    DrawLineExcludingEnd(reference, {0, 70}, {20, 30}, kInk);
    EXPECT_EQ(clipped, reference.copy(0, 50, 40, 30));
    EXPECT_EQ(TopmostInColumn(clipped, 10, Rgb(0, 0, 0)), 0);

    QImage image = White();
    DrawLineExcludingEnd(image, {-1000000, 5}, {1000000, 5}, kInk);
    EXPECT_EQ(CountPixels(image, image.rect(), Rgb(0, 0, 0)), image.width());
    DrawLineExcludingEnd(image, {3, -100000000}, {3, 100000000}, kInk);
    EXPECT_EQ(CountPixels(image, QRect(3, 0, 1, 30), Rgb(0, 0, 0)), image.height());
    QImage untouched = White();
    DrawLineExcludingEnd(untouched, {-50, -50}, {-10, 200}, kInk);
    EXPECT_EQ(untouched, White());
}

TEST(LineRule, RectanglesExcludeRightAndBottom)
{
    QImage image = White();
    FrameImageRect(image, 2, 3, 12, 9, kInk);
    EXPECT_EQ(InkBox(image, image.rect()), QRect(QPoint(2, 3), QPoint(11, 8)));
    EXPECT_EQ(Pixel(image, 5, 5), Rgb(255, 255, 255)) << "a frame leaves the inside alone";
    QImage filled = White();
    FillImageRect(filled, -5, 25, 100, 100, kInk);
    EXPECT_EQ(CountPixels(filled, filled.rect(), Rgb(0, 0, 0)), 40 * 5);
}

// On an image with a pixel ratio, each device-independent pixel of the
// drawing becomes the block [round(x * r), round((x + 1) * r)) of image
// pixels: the 1x drawing scaled up with nothing lost, shifted or left over.
TEST(LineRule, APixelRatioScalesEveryPixelToItsBlock)
{
    const auto draw = [](QImage& image) {
        DrawLineExcludingEnd(image, {3, 4}, {33, 21}, kInk);
        DrawLineExcludingEnd(image, {-10, 2}, {60, 2}, kInk);
        FrameImageRect(image, 2, 3, 12, 9, kInk);
        FillImageRect(image, 30, 20, 100, 100, kInk);
        DrawImageEdge3d(image, qRgb(1, 2, 3), qRgb(4, 5, 6));
    };
    QImage reference = White();
    draw(reference);
    for (const double ratio : {1.5, 2.0}) {
        QImage scaled = White(static_cast<int>(40 * ratio), static_cast<int>(30 * ratio));
        scaled.setDevicePixelRatio(ratio);
        ASSERT_EQ(On(scaled).Dimensions(), Size(40, 30));
        draw(scaled);
        const auto block = [ratio](int v) { return static_cast<int>(std::lround(v * ratio)); };
        int mismatches = 0;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) {
                for (int Y = block(y); Y < block(y + 1); ++Y) {
                    for (int X = block(x); X < block(x + 1); ++X) {
                        mismatches += Pixel(scaled, X, Y) != Pixel(reference, x, y) ? 1 : 0;
                    }
                }
            }
        }
        EXPECT_EQ(mismatches, 0) << ratio;
    }
}

}  // namespace
}  // namespace kel::test
