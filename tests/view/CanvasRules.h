#pragma once
// The canvas of this system's painter (QPainter on Linux, GDI on Windows),
// for the tests that check both against the same pixel rules.

#include "view/Canvas.h"

#include <memory>

namespace kel::test {

// With as many image pixels per device-independent pixel as the ratio asks.
std::unique_ptr<Canvas> MakeToolkitCanvas(Size size, double pixelRatio);

}  // namespace kel::test
