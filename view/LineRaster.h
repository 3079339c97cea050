#pragma once
// Pixel-exact drawing on a canvas with the rules the results view was
// laid out for: a line covers its start pixel but not its end pixel, and
// rectangles are given with exclusive right and bottom edges. Everything is
// clipped to the image, so coordinates far outside it are fine (line end
// points within +-2^28 keep the arithmetic exact).
//
// Coordinates are the image's device-independent pixels: on an image with a
// device pixel ratio above 1 (a screen at 150 % or 200 %) each of them
// covers its share of the image's pixels, so the drawing keeps its shape.

#include "view/Canvas.h"

namespace kel {

void SetImagePixel(Canvas& image, int x, int y, Colour colour);

// Draws from `from` up to, but not including, `to`.
void DrawLineExcludingEnd(Canvas& image, Point from, Point to, Colour colour);

// Fills x in [left, right), y in [top, bottom).
void FillImageRect(Canvas& image, int left, int top, int right, int bottom, Colour colour);

// A 1-pixel frame just inside [left, right) x [top, bottom).
void FrameImageRect(Canvas& image, int left, int top, int right, int bottom, Colour colour);

// The sunken 1-pixel edge of the whole image: top and left rows in
// `topLeft`, right and bottom rows (including their corners) in `bottomRight`.
void DrawImageEdge3d(Canvas& image, Colour topLeft, Colour bottomRight);

}  // namespace kel
