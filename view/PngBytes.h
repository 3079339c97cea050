#pragma once
// A picture as the bytes of a PNG file, for writing it through the program's
// own report writer (devices, pipes and atomic replacement alike).

#include <QByteArray>
#include <QImage>

#include <optional>

namespace kel {

// Nothing when the picture cannot be encoded.
std::optional<QByteArray> PngBytes(const QImage& image);

}  // namespace kel
