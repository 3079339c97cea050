#include "view/ResultImages.h"

#include <QBuffer>

namespace kel {

ResultImages::ResultImages(QSize clientSize, GraphScale scale)
    : ResultDrawing(clientSize, scale, [](Size size) -> std::unique_ptr<Canvas> {
          return std::make_unique<QtCanvas>(size, SharedDrawingObjects());
      })
{
}

QString ResultImages::ResultsText() const
{
    return QString::fromStdString(ResultLines());
}

QImage ResultImages::GraphImage() const
{
    return CopyOf(true);
}

QImage ResultImages::TextImage() const
{
    return CopyOf(false);
}

QImage ResultImages::CopyOf(bool graph) const
{
    QImage copy;
    WithCanvas(graph, [&copy](const Canvas& canvas) { copy = static_cast<const QtCanvas&>(canvas).Image().copy(); });
    return copy;
}

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
