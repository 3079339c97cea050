#pragma once
// A canvas as the bytes of a PNG file: 8-bit RGB, its image data in stored
// (uncompressed) deflate blocks, so that no compression library is needed.

#include "view/Canvas.h"

#include <string>

namespace kel {

// Empty when the canvas has no image.
std::string PngFileBytes(Canvas& canvas);

}  // namespace kel
