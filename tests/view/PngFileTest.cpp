// The program's own PNG writer, read back by Qt's reader.
#include "view/PngFile.h"
#include "view/ResultImages.h"

#include "ViewTestSupport.h"

#include <gtest/gtest.h>

namespace kel::test {
namespace {

TEST(PngFile, QtReadsBackEveryPixelOfSmallAndManyBlockImages)
{
    ResultImages drawn(kClient);
    drawn.ConfigureRun(2, 2, 0, 4000, 3000);
    AddPass(drawn, 1, {5.0, 12.0, 7.5}, 8.0, 1);
    QImage small(3, 2, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(1, 2, 3), qRgb(255, 0, 128), qRgb(0, 255, 0),
                            qRgb(9, 8, 7), qRgb(255, 255, 255), qRgb(0, 0, 0)};
    for (int i = 0; i < 6; ++i) {
        small.setPixel(i % 3, i / 3, colours[i]);
    }
    // The graph's raw data spans several stored blocks of at most 65535 bytes.
    for (QImage image : {small, drawn.GraphImage()}) {
        QtCanvas canvas(image, SharedDrawingObjects());
        const std::string png = PngFileBytes(canvas);
        const QImage read = QImage::fromData(QByteArray(png.data(), static_cast<qsizetype>(png.size())), "PNG");
        ASSERT_FALSE(read.isNull());
        EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), image);
    }
    QImage none;
    QtCanvas empty(none, SharedDrawingObjects());
    EXPECT_TRUE(PngFileBytes(empty).empty());
}

}  // namespace
}  // namespace kel::test
