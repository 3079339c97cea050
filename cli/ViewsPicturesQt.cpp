#include "cli/ViewsPictures.h"

#include "view/ResultImages.h"

#include <QGuiApplication>

namespace kel {

PicturesPng DrawRecordPictures(const RunRecord& record, const GraphScale& scale)
{
    // Fonts need a GUI application, but never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "keltally-views";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    ResultImages images(QSize(kPictureWidth, kPictureHeight), scale);
    ReplayRecord(images, record);
    const auto bytes = [](const QImage& image) {
        const std::optional<QByteArray> png = PngBytes(image);
        return png ? std::string(png->constData(), static_cast<std::size_t>(png->size())) : std::string();
    };
    return {bytes(images.GraphImage()), bytes(images.TextImage())};
}

}  // namespace kel
