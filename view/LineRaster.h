#pragma once
// Pixel-exact drawing on an RGB32 image with the rules the results view was
// laid out for: a line covers its start pixel but not its end pixel, and
// rectangles are given with exclusive right and bottom edges. Everything is
// clipped to the image, so coordinates far outside it are fine (line end
// points within +-2^28 keep the arithmetic exact).
//
// Coordinates are the image's device-independent pixels: on an image with a
// device pixel ratio above 1 (a screen at 150 % or 200 %) each of them
// covers its share of the image's pixels, so the drawing keeps its shape.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QSize>

namespace kel {

// The image's size in device-independent pixels.
QSize LogicalSize(const QImage& image);

void SetImagePixel(QImage& image, int x, int y, QRgb colour);

// Draws from `from` up to, but not including, `to`.
void DrawLineExcludingEnd(QImage& image, QPoint from, QPoint to, QRgb colour);

// Fills x in [left, right), y in [top, bottom).
void FillImageRect(QImage& image, int left, int top, int right, int bottom, QRgb colour);

// A 1-pixel frame just inside [left, right) x [top, bottom).
void FrameImageRect(QImage& image, int left, int top, int right, int bottom, QRgb colour);

// The sunken 1-pixel edge of the whole image: top and left rows in
// `topLeft`, right and bottom rows (including their corners) in `bottomRight`.
void DrawImageEdge3d(QImage& image, QRgb topLeft, QRgb bottomRight);

}  // namespace kel
