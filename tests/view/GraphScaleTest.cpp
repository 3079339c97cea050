// The graph's rate scale: the choice as text, the fitted top, and the graph
// drawn on a fitted or fixed scale, redrawn when the scale changes.

#include "view/DrawingObjects.h"
#include "view/GraphDrawing.h"
#include "view/GraphScale.h"
#include "view/ResultImages.h"

#include "ViewTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kel::test {
namespace {

constexpr QRgb kBlack = Rgb(0, 0, 0);
constexpr QRgb kBlue = Rgb(0, 0, 255);
constexpr QRgb kRed = Rgb(255, 0, 0);

TEST(GraphScaleChoice, ReadFromTextAndWrittenBack)
{
    const struct {
        const char* text;
        std::optional<GraphScale> scale;
    } cases[] = {
        {"auto", FittedGraphScale()},     {"AUTO", FittedGraphScale()},       {"Auto", FittedGraphScale()},
        {"default", DefaultGraphScale()}, {"DEFAULT", DefaultGraphScale()},   {"20", FixedGraphScale(20)},
        {"1", FixedGraphScale(1)},        {"0900", FixedGraphScale(900)},     {"1000000", FixedGraphScale(1000000)},
        {"0", std::nullopt},              {"1000001", std::nullopt},          {"99999999", std::nullopt},
        {"", std::nullopt},               {" 20", std::nullopt},              {"20 ", std::nullopt},
        {"+5", std::nullopt},             {"-5", std::nullopt},               {"2.5", std::nullopt},
        {"fit", std::nullopt},            {"autos", std::nullopt},            {"20MB", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseGraphScale(c.text), c.scale) << '"' << c.text << '"';
        if (c.scale) {
            EXPECT_EQ(ParseGraphScale(GraphScaleText(*c.scale)), c.scale) << c.text;
        }
    }
    EXPECT_EQ(GraphScaleText(DefaultGraphScale()), "default");
    EXPECT_EQ(GraphScaleText(FixedGraphScale(20)), "20");
    EXPECT_EQ(GraphScaleText(FittedGraphScale()), "auto");
}

TEST(GraphScaleChoice, FittedTopIsTheNextRoundValue)
{
    const struct {
        double fastest;
        int top;
    } cases[] = {
        {0.3, 1},      {1.0, 1},       {1.01, 2},     {4.9, 5},        {5.0, 5},        {5.1, 6},
        {8.5, 10},     {19.0, 20},     {20.5, 25},    {30.5, 35},      {36.0, 40},      {900.0, 1000},
        {1000.0, 1000}, {1001.0, 1200}, {2500.0, 2500}, {5001.0, 6000}, {7.5e5, 800000}, {8.1e5, 1000000},
        {5e9, 1000000}, {0.0, 1},      {-3.0, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FittedScaleTop(c.fastest), c.top) << c.fastest;
    }
    // From 4 MB/s on the top is never more than a quarter above the fastest.
    for (double fastest = 4.0; fastest < 1e6; fastest *= 1.013) {
        const int top = FittedScaleTop(fastest);
        ASSERT_GE(top, fastest);
        ASSERT_LE(top, fastest * 1.25) << fastest;
    }
}

// Which top each choice shows, and when a fixed one hides results.
TEST(GraphScaleChoice, AutomaticKeepsTheDefaultTopUntilAResultLiesAbove)
{
    const struct {
        GraphScale scale;
        double fastest;
        int top;
        bool hides;
    } cases[] = {
        {DefaultGraphScale(), 0.0, 20, false},   {DefaultGraphScale(), 0.5, 20, false},
        {DefaultGraphScale(), 20.0, 20, false},  {DefaultGraphScale(), 20.01, 25, false},
        {DefaultGraphScale(), 2400.0, 2500, false},
        {FixedGraphScale(20), 2400.0, 20, true}, {FixedGraphScale(20), 20.0, 20, false},
        {FixedGraphScale(5000), 2400.0, 5000, false},
        {FittedGraphScale(), 0.0, 20, false},    {FittedGraphScale(), 0.5, 1, false},
        {FittedGraphScale(), 2400.0, 2500, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(GraphScaleText(c.scale) + " at " + std::to_string(c.fastest));
        EXPECT_EQ(ShownScaleTop(c.scale, c.fastest), c.top);
        EXPECT_EQ(HidesResults(c.scale, c.fastest), c.hides);
    }
}

TEST(GraphScaleChoice, LabelsAreTenthsOfTheTop)
{
    EXPECT_EQ(ScaleLabel(20, 7), "14");
    EXPECT_EQ(ScaleLabel(5, 1), "0.5");
    EXPECT_EQ(ScaleLabel(5, 2), "1");
    EXPECT_EQ(ScaleLabel(1, 3), "0.3");
    EXPECT_EQ(ScaleLabel(5000, 10), "5000");
    EXPECT_EQ(ScaleLabel(1000000, 10), "1000000");
}

// A run of four write passes and four read passes near `rate`, the reads the
// faster, with the minimum read rate drawn at 80 % of it.
void FeedRunNear(ResultImages& images, double rate)
{
    images.ConfigureRun(4, 4, 0, static_cast<int>(rate * 800), 0);
    for (const int isWrite : {1, 0}) {
        for (int a = 1; a <= 4; ++a) {
            const double level = rate * (isWrite != 0 ? 0.85 : 0.95);
            AddPass(images, a, {level, level * 1.04, level * 0.97, isWrite != 0 ? level : rate}, level, isWrite);
        }
    }
}

GraphLayout LayoutFor(int top)
{
    QImage measuring;
    return ComputeGraphLayout(kClient, top, WidestScaleLabel(QtCanvas(measuring, DrawingObjects()), top));
}

// Drives of today, at 900 and 2,500 MB/s: the fitted top is 1000 and 2500
// MB/s; every curve pixel lies in the plot, the fastest in its upper half,
// and every scale label inside the image, left of the axis, clear of the
// others.
TEST(FittedScale, DiskSpeedRunsFillThePlotWithReadableLabels)
{
    const struct {
        double rate;
        int top;
    } runs[] = {{900.0, 1000}, {2500.0, 2500}};
    for (const auto& run : runs) {
        SCOPED_TRACE(run.rate);
        ResultImages images(kClient, FittedGraphScale());
        FeedRunNear(images, run.rate);
        ASSERT_EQ(images.ScaleTop(), run.top);
        const QImage image = images.GraphImage();
        const GraphLayout layout = LayoutFor(run.top);
        EXPECT_GT(layout.originX, 29) << "four-digit labels move the axis right";

        const QRect plot(QPoint(layout.originX, layout.baseY - 10 * layout.gridStep),
                         QPoint(layout.originX + layout.plotWidth, layout.baseY));
        const QRect legend(QPoint(426, 9), QPoint(500, 44));
        for (const QRgb colour : {kBlue, kRed}) {
            int outside = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    outside += Pixel(image, x, y) == colour && !plot.contains(x, y) && !legend.contains(x, y);
                }
            }
            EXPECT_EQ(outside, 0) << "curve pixels outside the plot";
            const QRect curve = InkBox(image, plot, colour);
            ASSERT_FALSE(curve.isNull());
            EXPECT_GT(curve.height(), 5) << "the curve shows its ups and downs";
        }
        // The fastest sample, a read at the rate itself.
        EXPECT_EQ(InkBox(image, plot, kBlue).top(), RateToY(layout, run.rate));
        EXPECT_LE(RateToY(layout, run.rate), layout.baseY - 5 * layout.gridStep) << "in the upper half";
        // The threshold line moves with the scale.
        EXPECT_EQ(InkBox(image, image.rect(), Rgb(0, 0, 192)),
                  QRect(QPoint(layout.originX + 1, RateToY(layout, run.rate * 0.8)),
                        QPoint(layout.originX + layout.axisWidth - 5, RateToY(layout, run.rate * 0.8))));

        QRect previous;
        for (int k = 0; k <= 10; ++k) {
            const int baseline = layout.baseY - k * layout.gridStep + (k == 10 ? 6 : 4);
            const QRect ink = InkBox(image, QRect(QPoint(0, baseline - 12), QPoint(layout.originX - 1, baseline)));
            ASSERT_FALSE(ink.isNull()) << "label " << k;
            EXPECT_GE(ink.left(), 1) << "label " << k << " cut by the image's edge";
            EXPECT_LE(ink.right(), layout.originX - 2) << "label " << k << " touches the axis";
            EXPECT_EQ(ink.bottom(), baseline - 1) << "label " << k;
            EXPECT_FALSE(ink.intersects(previous)) << "label " << k << " overlaps the one below";
            previous = ink;
        }
        EXPECT_GT(previous.width(), 20) << "the top label is the full " << run.top;
    }
}

// Every way the scale changes gives the picture that drawing the same passes
// on the new scale from the start gives.
TEST(FittedScale, ANewTopRedrawsThePassesSoFar)
{
    const auto reference = [](GraphScale scale, const std::vector<std::vector<double>>& passes) {
        ResultImages images(kClient, scale);
        images.ConfigureRun(4, 4, 0, 3000, 0);
        for (std::size_t i = 0; i < passes.size(); ++i) {
            AddPass(images, static_cast<int>(i) + 1, passes[i], passes[i][0], 0);
        }
        return images.GraphImage();
    };
    const std::vector<std::vector<double>> passes {{3.0, 4.5, 4.0}, {30.0, 45.0, 40.0}, {12.0, 8.0}};

    // The fitted top grows from 5 to 50 MB/s with pass 2 and stays with pass 3.
    ResultImages fitted(kClient, FittedGraphScale());
    fitted.ConfigureRun(4, 4, 0, 3000, 0);
    EXPECT_EQ(fitted.ScaleTop(), 20) << "before any sample the fitted scale shows the default top";
    AddPass(fitted, 1, passes[0], 3.0, 0);
    EXPECT_EQ(fitted.ScaleTop(), 5);
    EXPECT_EQ(fitted.GraphImage(), reference(FixedGraphScale(5), {passes[0]}));
    AddPass(fitted, 2, passes[1], 30.0, 0);
    AddPass(fitted, 3, passes[2], 12.0, 0);
    EXPECT_EQ(fitted.ScaleTop(), 50);
    EXPECT_EQ(fitted.GraphImage(), reference(FixedGraphScale(50), passes));

    // Switching a finished run's scale, and back: the default picture is
    // exactly the one never switched.
    ResultImages switched(kClient);
    switched.ConfigureRun(4, 4, 0, 3000, 0);
    for (int a = 1; a <= 3; ++a) {
        AddPass(switched, a, passes[a - 1], passes[a - 1][0], 0);
    }
    const QImage unswitched = switched.GraphImage();
    switched.SetScale(FittedGraphScale());
    EXPECT_EQ(switched.GraphImage(), reference(FixedGraphScale(50), passes));
    switched.SetScale(FixedGraphScale(100));
    EXPECT_EQ(switched.GraphImage(), reference(FixedGraphScale(100), passes));
    switched.SetScale(DefaultGraphScale());
    EXPECT_EQ(switched.GraphImage(), unswitched);

    // A new run keeps none of the passes before it.
    switched.ConfigureRun(4, 4, 0, 3000, 0);
    switched.SetScale(FittedGraphScale());
    EXPECT_EQ(switched.GraphImage(), reference(FittedGraphScale(), {}));
    EXPECT_EQ(switched.ScaleTop(), 20);
}

// The default scale on a slow and a fast run, and the fixed scale the user
// chose on the same runs: the fast run shows its curves on the fitted top
// unless the fixed scale was chosen, which marks them instead.
TEST(AutomaticScale, FastResultsShowOrAreMarked)
{
    const auto draw = [](GraphScale scale, double rate) {
        auto images = std::make_unique<ResultImages>(kClient, scale);
        FeedRunNear(*images, rate);
        return images;
    };
    const QRect markArea(QPoint(200, 1), QPoint(425, 22));  // the top edge, left of the legend
    const struct {
        GraphScale scale;
        double rate;
        bool curvesInPlot;
        bool marked;
    } cases[] = {
        {DefaultGraphScale(), 12.0, true, false},  {DefaultGraphScale(), 2000.0, true, false},
        {FixedGraphScale(20), 12.0, true, false},  {FixedGraphScale(20), 2000.0, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(GraphScaleText(c.scale) + " at " + std::to_string(c.rate));
        const auto images = draw(c.scale, c.rate);
        const QImage image = images->GraphImage();
        const GraphLayout layout = LayoutFor(images->ScaleTop());
        const QRect plot(QPoint(layout.originX + 1, layout.baseY - 10 * layout.gridStep),
                         QPoint(layout.originX + layout.plotWidth, layout.baseY - 1));
        const QRect legend(QPoint(426, 9), QPoint(500, 44));
        for (const QRgb colour : {kBlue, kRed}) {
            const int curvePixels = CountPixels(image, plot, colour) - CountPixels(image, plot & legend, colour);
            EXPECT_EQ(curvePixels > 0, c.curvesInPlot);
        }
        EXPECT_EQ(images->HidesResults(), c.marked);
        EXPECT_EQ(InkBox(image, markArea, kBlack).isNull(), !c.marked);
    }
    // Results that fit leave the default scale's pixels exactly as the fixed
    // scale draws them.
    EXPECT_EQ(draw(DefaultGraphScale(), 12.0)->GraphImage(), draw(FixedGraphScale(20), 12.0)->GraphImage());
    EXPECT_EQ(draw(DefaultGraphScale(), 2000.0)->GraphImage(), draw(FittedGraphScale(), 2000.0)->GraphImage());
}

}  // namespace
}  // namespace kel::test
