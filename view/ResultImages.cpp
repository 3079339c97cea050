#include "view/ResultImages.h"

#include <QBuffer>

namespace kel {

ResultImages::ResultImages(QSize clientSize, GraphScale scale)
    : ResultDrawing(clientSize, scale, [](Size size, double pixelRatio) -> std::unique_ptr<Canvas> {
          return std::make_unique<QtCanvas>(size, SharedDrawingObjects(), pixelRatio);
      })
{
}

void ResultImages::SetRunNames(const std::vector<QString>& names)
{
    std::vector<std::string> utf8;
    utf8.reserve(names.size());
    for (const QString& name : names) {
        utf8.push_back(name.toStdString());
    }
    ResultDrawing::SetRunNames(std::move(utf8));
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
