#include "view/GraphDrawing.h"
#include "view/ResultImages.h"

#include "ViewTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace kel::test {
namespace {

constexpr QRgb kBlack = Rgb(0, 0, 0);
constexpr QRgb kGrey = Rgb(192, 192, 192);
constexpr QRgb kBlue = Rgb(0, 0, 255);
constexpr QRgb kRed = Rgb(255, 0, 0);

// The lowest ink row of a text's first letter ("R", "P", which have no
// descender): the row above the baseline.
int FirstGlyphBottom(const QImage& image, const QRect& textInk)
{
    return InkBox(image, QRect(textInk.left(), textInk.top(), 3, textInk.height())).bottom();
}

QImage EmptyGraph(int simultaneous = 0, int minRead = 0, int minWrite = 0)
{
    ResultImages images(kClient);
    images.ConfigureRun(1, 1, simultaneous, minRead, minWrite);
    return images.GraphImage();
}

// A screen at 200 %: the images have twice the pixels in each direction,
// the lines and curves keep their places block for block, and the text is
// drawn at the finer resolution, not scaled up.
TEST(GraphPixelRatio, TwiceTheRatioDrawsTheSameGraphWithFinerText)
{
    ResultImages images(kClient);
    images.Resize(kClient, 2.0);
    images.ConfigureRun(1, 1, 0, 0, 0);
    AddPass(images, 1, {10.0}, 10.0, 0);
    const QImage graph = images.GraphImage();
    EXPECT_EQ(graph.size(), kClient * 2);
    EXPECT_EQ(graph.devicePixelRatio(), 2.0);
    for (const auto& [x, y] : {std::pair {200, 151}, std::pair {201, 151}}) {
        for (const int d : {0, 1}) {
            EXPECT_EQ(Pixel(graph, 2 * x + d, 2 * y + d), kBlue) << x << "," << y;
        }
    }
    const QImage text = images.TextImage();
    int unevenBlocks = 0;
    for (int y = 0; y + 1 < text.height(); y += 2) {
        for (int x = 0; x + 1 < text.width(); x += 2) {
            const QRgb corner = Pixel(text, x, y);
            unevenBlocks += Pixel(text, x + 1, y) != corner || Pixel(text, x, y + 1) != corner ? 1 : 0;
        }
    }
    EXPECT_GT(unevenBlocks, 100) << "text drawn at the image's own resolution";
}

TEST(GraphLayout, ValuesForTheDialogsClientArea)
{
    const GraphLayout layout = ComputeGraphLayout(kClient);
    EXPECT_EQ(layout.originX, 29);
    EXPECT_EQ(layout.axisTopY, 20);
    EXPECT_EQ(layout.baseY, 276);
    EXPECT_EQ(layout.axisWidth, 468);
    EXPECT_EQ(layout.gridStep, 25);
    EXPECT_EQ(layout.plotWidth, 464);
    EXPECT_EQ(layout.legendWidth, 73);
    EXPECT_EQ(layout.legendHeight, 34);

    EXPECT_EQ(RateToY(layout, 0.0), 276);
    EXPECT_EQ(RateToY(layout, 5.123), 212);
    EXPECT_EQ(RateToY(layout, 3.5), 232);
    EXPECT_EQ(RateToY(layout, 20.0), 26);
    EXPECT_EQ(RateToY(layout, 25.0), -37) << "rates above the scale are not clamped";
    EXPECT_LT(RateToY(layout, 1e300), -1000000) << "an absurd rate stays far above, without overflow";
}

TEST(EmptyGraph, FrameAxesAndGridDots)
{
    const QImage image = EmptyGraph();
    ASSERT_EQ(image.size(), kClient);
    EXPECT_EQ(Pixel(image, 0, 0), Rgb(128, 128, 128));
    EXPECT_EQ(Pixel(image, 0, 297), Rgb(128, 128, 128));
    EXPECT_EQ(Pixel(image, 508, 0), Rgb(128, 128, 128));
    EXPECT_EQ(Pixel(image, 509, 0), Rgb(255, 255, 255));
    EXPECT_EQ(Pixel(image, 0, 298), Rgb(255, 255, 255));
    EXPECT_EQ(Pixel(image, 200, 150), kGrey);

    // Vertical axis from y 20 down; the base line from x 29 to 496.
    EXPECT_EQ(Pixel(image, 29, 19), kGrey);
    for (int y = 20; y <= 276; ++y) {
        ASSERT_EQ(Pixel(image, 29, y), kBlack) << y;
    }
    EXPECT_EQ(InkBox(image, QRect(29, 276, 481, 1)), QRect(QPoint(29, 276), QPoint(496, 276)));

    // Gridlines at every 2 MB/s: dots from x 30 in steps of 3 up to 492.
    for (int k = 1; k < 10; ++k) {
        const int y = 276 - 25 * k;
        std::vector<int> dots;
        for (int x = 30; x < 510; ++x) {
            if (Pixel(image, x, y) == kBlack) {
                dots.push_back(x);
            }
        }
        ASSERT_EQ(dots.size(), 155u) << "gridline " << k;
        EXPECT_EQ(dots.front(), 30);
        EXPECT_EQ(dots[1], 33);
        EXPECT_EQ(dots.back(), 492);
    }
    // The top gridline stops short of the legend.
    EXPECT_EQ(CountPixels(image, QRect(30, 26, 391, 1), kBlack), 131);
    EXPECT_EQ(Pixel(image, 420, 26), kBlack);
    EXPECT_EQ(CountPixels(image, QRect(421, 26, 5, 1), kBlack), 0);
    EXPECT_EQ(CountPixels(image, QRect(500, 26, 9, 1), kBlack), 0);
}

TEST(EmptyGraph, ScaleLabelsAndCaptionsStandOnTheirBaselines)
{
    const QImage image = EmptyGraph();
    for (int k = 0; k <= 10; ++k) {
        const int baseline = k == 10 ? 32 : 280 - 25 * k;
        const QRect ink = InkBox(image, QRect(1, baseline - 12, 27, 12));
        ASSERT_FALSE(ink.isNull()) << "label " << 2 * k;
        EXPECT_EQ(ink.bottom(), baseline - 1) << "label " << 2 * k;
        EXPECT_NEAR((ink.left() + ink.right()) / 2.0, 16.0, 1.5) << "label " << 2 * k;
        EXPECT_GE(ink.height(), 6) << "label " << 2 * k;
    }
    const QRect mbs = InkBox(image, QRect(1, 1, 60, 16));
    EXPECT_NEAR((mbs.left() + mbs.right()) / 2.0, 29.0, 1.5);
    EXPECT_EQ(mbs.bottom(), 15);
    const QRect repetitions = InkBox(image, QRect(150, 278, 230, 16));
    EXPECT_NEAR((repetitions.left() + repetitions.right()) / 2.0, 263.0, 1.5);
    EXPECT_EQ(FirstGlyphBottom(image, repetitions), 289);
    EXPECT_GT(repetitions.width(), 40);
}

TEST(EmptyGraph, LegendBoxTextsAndLines)
{
    const QImage image = EmptyGraph();
    // Grey frame (426,9)-(499,43), then white frame moved by one pixel.
    for (const QPoint p : {QPoint(426, 9), QPoint(426, 42), QPoint(498, 9), QPoint(498, 42), QPoint(460, 42)}) {
        EXPECT_EQ(Pixel(image, p.x(), p.y()), Rgb(128, 128, 128)) << p.x() << "," << p.y();
    }
    for (const QPoint p : {QPoint(427, 10), QPoint(499, 10), QPoint(427, 43), QPoint(499, 43), QPoint(460, 10)}) {
        EXPECT_EQ(Pixel(image, p.x(), p.y()), Rgb(255, 255, 255)) << p.x() << "," << p.y();
    }
    EXPECT_EQ(Pixel(image, 500, 44), kGrey);

    EXPECT_EQ(InkBox(image, QRect(428, 11, 70, 32), kBlue), QRect(QPoint(432, 20), QPoint(454, 20)));
    EXPECT_EQ(InkBox(image, QRect(428, 11, 70, 32), kRed), QRect(QPoint(432, 33), QPoint(454, 33)));

    const QRect play = InkBox(image, QRect(456, 12, 42, 16));
    EXPECT_EQ(FirstGlyphBottom(image, play), 24);
    EXPECT_NEAR(play.left(), 458, 1);
    const QRect record = InkBox(image, QRect(456, 28, 42, 12));
    EXPECT_EQ(FirstGlyphBottom(image, record), 37);
    EXPECT_NEAR(record.left(), 458, 1);

    const QImage simultaneous = EmptyGraph(1);
    EXPECT_EQ(InkBox(simultaneous, QRect(428, 11, 70, 32), kBlue), QRect(QPoint(432, 26), QPoint(454, 26)));
    EXPECT_TRUE(InkBox(simultaneous, QRect(428, 11, 70, 32), kRed).isNull());
}

TEST(EmptyGraph, ThresholdLinesOnlyForPositiveThresholds)
{
    const QImage image = EmptyGraph(0, 3500, 10000);
    EXPECT_EQ(InkBox(image, image.rect(), Rgb(0, 0, 192)), QRect(QPoint(30, 232), QPoint(492, 232)));
    EXPECT_EQ(InkBox(image, image.rect(), Rgb(192, 0, 0)), QRect(QPoint(30, 151), QPoint(492, 151)));

    const QImage none = EmptyGraph(0, 0, -5);
    EXPECT_EQ(CountPixels(none, none.rect(), Rgb(0, 0, 192)), 0);
    EXPECT_EQ(CountPixels(none, none.rect(), Rgb(192, 0, 0)), 0);
}

class GraphCurve : public ::testing::Test {
protected:
    void Pass(int passNumber, const std::vector<double>& samples, int isWrite = 0)
    {
        AddPass(m_images, passNumber, samples, 1.0, isWrite);
    }
    QImage Graph() const { return m_images.GraphImage(); }

    ResultImages m_images {kClient};
};

TEST_F(GraphCurve, SamplesShareTheirPassesSpan)
{
    m_images.ConfigureRun(4, 4, 0, 0, 0);
    // Pass 1 at 2 MB/s, pass 2 steps between 4 and 8 MB/s at five points.
    Pass(1, {2.0, 2.0});
    Pass(2, {4.0, 8.0, 4.0, 8.0, 4.0});
    const QImage image = Graph();
    // Pass 1: x 29 and 87 at y 251; the join to pass 2 runs to (145, 226).
    EXPECT_EQ(Pixel(image, 87, 251), kBlue);
    EXPECT_EQ(Pixel(image, 145, 226), kBlue);
    // The vertices of pass 2: 4 MB/s is y 226, 8 MB/s is y 176. The last one
    // ends the curve so far and, as every line's end, is not drawn yet.
    const int xs[] = {145, 168, 191, 214};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(Pixel(image, xs[k], k % 2 == 0 ? 226 : 176), kBlue) << "sample " << k;
    }
    EXPECT_EQ(Pixel(image, 236, 224), kBlue);
    EXPECT_TRUE(InkBox(image, QRect(238, 100, 200, 170), kBlue).isNull());
    // The axis is drawn again over the curve's start.
    EXPECT_EQ(Pixel(image, 29, 251), kBlack);
    EXPECT_EQ(Pixel(image, 29, 27), kBlack);
}

TEST_F(GraphCurve, OneSamplePassesJoinAndTheLastStandsMidSpan)
{
    m_images.ConfigureRun(4, 4, 0, 0, 0);
    for (int a = 1; a <= 4; ++a) {
        Pass(a, {10.0}, 1);
    }
    // Level at 10 MB/s (y 151): from x 29 (covered again by the axis) to the
    // last pass's point at 435, which is where the curve ends.
    const QImage image = Graph();
    EXPECT_EQ(InkBox(image, QRect(30, 100, 479, 170), kRed), QRect(QPoint(30, 151), QPoint(434, 151)));
    EXPECT_EQ(Pixel(image, 29, 151), kBlack);
}

TEST_F(GraphCurve, ASingleOneSamplePassIsALevelLine)
{
    m_images.ConfigureRun(1, 1, 0, 0, 0);
    Pass(1, {5.123});
    const QImage image = Graph();
    EXPECT_EQ(InkBox(image, QRect(0, 50, 510, 249), kBlue), QRect(QPoint(30, 212), QPoint(492, 212)));
    EXPECT_EQ(Pixel(image, 29, 212), kBlack) << "axis drawn again over the line's first pixel";
}

TEST_F(GraphCurve, RatesAboveAFixedScaleReachTheTopEdge)
{
    m_images.SetScale(FixedGraphScale(20));
    m_images.ConfigureRun(2, 1, 0, 0, 0);
    // Samples at x 29 (y 26), 87 (y -37), 145 (y 26) and 203 (y 26).
    Pass(1, {20.0, 25.0, 20.0, 20.0});
    const QImage image = Graph();
    // Both segments at the 25 MB/s point follow their exact slopes up to row
    // 0 and leave it at x 53 and 121; the point itself is outside.
    EXPECT_EQ(Pixel(image, 53, 0), kBlue);
    EXPECT_EQ(Pixel(image, 121, 0), kBlue);
    EXPECT_NE(Pixel(image, 87, 0), kBlue);
    EXPECT_EQ(Pixel(image, 145, 26), kBlue);
    EXPECT_EQ(InkBox(image, QRect(146, 20, 270, 10), kBlue), QRect(QPoint(146, 26), QPoint(202, 26)));
}

TEST_F(GraphCurve, ReadPassesStartAgainAtTheLeftInBlue)
{
    m_images.ConfigureRun(2, 2, 0, 0, 0);
    Pass(1, {2.0, 2.0}, 1);
    Pass(2, {2.0, 2.0}, 1);
    Pass(1, {6.0, 6.0}, 0);
    Pass(2, {6.0, 6.0}, 0);
    const QImage image = Graph();
    EXPECT_EQ(InkBox(image, QRect(30, 100, 479, 170), kRed), QRect(QPoint(30, 251), QPoint(376, 251)));
    EXPECT_EQ(InkBox(image, QRect(30, 100, 479, 170), kBlue), QRect(QPoint(30, 201), QPoint(376, 201)));
}

TEST_F(GraphCurve, PassesOutsideTheConfiguredRunAreIgnored)
{
    m_images.ConfigureRun(0, 0, 0, 0, 0);
    const QImage before = Graph();
    Pass(1, {5.0});
    double sample = 5.0;
    m_images.AddPassResults(1, &sample, 0, 5.0, 0);
    m_images.AddPassResults(1, nullptr, 1, 5.0, 0);
    EXPECT_EQ(Graph(), before);
    EXPECT_EQ(m_images.HasResults(), 0);
}

}  // namespace
}  // namespace kel::test
