#include "cli/ViewsPictures.h"

#include "view/ResultImages.h"

#include <QGuiApplication>

#include <clocale>
#include <memory>
#include <optional>

namespace kel {

namespace {

class QtRecordPictures : public RecordPictures {
public:
    explicit QtRecordPictures(const GraphScale& scale)
        : m_app(MakeApp()), m_images(QSize(kPictureWidth, kPictureHeight), scale)
    {
    }
    ResultDrawing& Drawing() override { return m_images; }
    PicturesPng Png() override
    {
        const auto bytes = [](const QImage& image) {
            const std::optional<QByteArray> png = PngBytes(image);
            return png ? std::string(png->constData(), static_cast<std::size_t>(png->size())) : std::string();
        };
        return {bytes(m_images.GraphImage()), bytes(m_images.TextImage())};
    }

private:
    static std::unique_ptr<QGuiApplication> MakeApp()
    {
        // Fonts need a GUI application, but never a display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "keltally-views";
        static char* argv[] = {name, nullptr};
        auto app = std::make_unique<QGuiApplication>(argc, argv);
        // The application takes the user's locale, and a record being read
        // has begun with the C locale's decimal point.
        std::setlocale(LC_NUMERIC, "C");
        return app;
    }

    std::unique_ptr<QGuiApplication> m_app;
    ResultImages m_images;
};

}  // namespace

std::unique_ptr<RecordPictures> MakeRecordPictures(const GraphScale& scale)
{
    return std::make_unique<QtRecordPictures>(scale);
}

}  // namespace kel
