#include "view/PngBytes.h"

#include <QBuffer>

namespace kel {

std::optional<QByteArray> PngBytes(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        return std::nullopt;
    }
    return png;
}

}  // namespace kel
