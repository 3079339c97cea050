#include "engine/PassStatistics.h"
#include "view/ResultImages.h"
#include "view/TextDrawing.h"

#include "ViewTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace kel::test {
namespace {

constexpr QRgb kBlack = Rgb(0, 0, 0);
constexpr QRgb kGrey = Rgb(192, 192, 192);

// The ink of one text row: from the label column to the right frame, the
// cell above and including its baseline.
QRect RowInk(const QImage& image, int baseline, int left = 1, int right = 508)
{
    return InkBox(image, QRect(QPoint(left, baseline - 14), QPoint(right, baseline)));
}

TEST(TextLayout, ValuesForTheDialogsClientArea)
{
    const TextLayout layout = ComputeTextLayout(kClient);
    EXPECT_EQ(layout.textTop, 37);
    EXPECT_EQ(layout.labelX, 23);
    EXPECT_EQ(layout.lineHeight, 19);
    EXPECT_EQ(layout.valueX, 72);
}

TEST(RateFormat, SixWideThreeDecimalsNeverCut)
{
    EXPECT_EQ(FormatRate(3.0), " 3.000 MB/s");
    EXPECT_EQ(FormatRate(12.3456), "12.346 MB/s");
    EXPECT_EQ(FormatRate(123.4), "123.400 MB/s");
    EXPECT_EQ(FormatRate(0.0), " 0.000 MB/s");
    EXPECT_EQ(FormatRate(1e20), "100000000000000000000.000 MB/s") << "very large values are written out in full";
}

TEST(PassStatistics, MinAndMaxOverSamplesAverageOverPassRatesRestartingAtPassOne)
{
    PassStatistics statistics;
    const double earlier[] = {1.0, 90.0};
    statistics.Add(1, earlier, 2, 50.0);
    const std::vector<std::vector<double>> passes = {{4.0, 6.0}, {5.0}, {7.0, 3.0}};
    const double rates[] = {5.0, 5.0, 4.0};
    for (int i = 0; i < 3; ++i) {
        statistics.Add(i + 1, passes[i].data(), static_cast<int>(passes[i].size()), rates[i]);
    }
    EXPECT_EQ(FormatRate(statistics.minRate), " 3.000 MB/s");
    EXPECT_EQ(FormatRate(statistics.maxRate), " 7.000 MB/s");
    EXPECT_EQ(FormatRate(statistics.Average()), " 4.667 MB/s");
}

TEST(EmptyText, HeadingsAndLabelsOnTheirRows)
{
    ResultImages images(kClient);
    images.ConfigureRun(2, 2, 0, 0, 0);
    const QImage image = images.TextImage();
    EXPECT_EQ(Pixel(image, 0, 0), Rgb(128, 128, 128));
    EXPECT_EQ(Pixel(image, 509, 298), Rgb(255, 255, 255));
    // Headings at 31 and 145, labels at 56, 75, 94 and 170, 189, 208; all
    // start at the label column and leave the value column empty.
    for (int baseline : {31, 56, 75, 94, 145, 170, 189, 208}) {
        const QRect ink = RowInk(image, baseline);
        ASSERT_FALSE(ink.isNull()) << baseline;
        EXPECT_NEAR(ink.bottom(), baseline - 1, 1) << baseline;
        EXPECT_NEAR(ink.left(), 23, 2) << baseline;
    }
    for (int baseline : {56, 75, 94, 170, 189, 208}) {
        EXPECT_LT(RowInk(image, baseline).right(), 72) << "no values before a pass";
    }
    // Headings are wider than the value column's start.
    EXPECT_GT(RowInk(image, 31).right(), 150);
    EXPECT_GT(RowInk(image, 145).right(), 150);
    EXPECT_TRUE(RowInk(image, 250).isNull());
}

TEST(EmptyText, SimultaneousRunHasOneSection)
{
    ResultImages images(kClient);
    images.ConfigureRun(2, 0, 1, 0, 0);
    const QImage image = images.TextImage();
    // "Play/Record Performance:" is longer than "Play Performance:".
    ResultImages plain(kClient);
    EXPECT_GT(RowInk(image, 31).right(), RowInk(plain.TextImage(), 31).right() + 50);
    EXPECT_FALSE(RowInk(image, 94).isNull());
    EXPECT_TRUE(InkBox(image, QRect(1, 120, 507, 177)).isNull());
}

TEST(PassValues, EachKindFillsItsSectionAndClearsItsRectangle)
{
    ResultImages images(kClient);
    images.ConfigureRun(3, 2, 0, 0, 0);
    // Stale ink inside both value rectangles and just outside them.
    const QImage empty = images.TextImage();
    AddPass(images, 1, {123.456, 4.0}, 50.0, 1);
    AddPass(images, 2, {8.0}, 5.0, 1);
    const QImage afterWrites = images.TextImage();
    for (int baseline : {170, 189, 208}) {
        EXPECT_GT(RowInk(afterWrites, baseline, 72).width(), 60) << baseline;
    }
    EXPECT_EQ(InkBox(afterWrites, QRect(QPoint(72, 37), QPoint(508, 112))), QRect()) << "Play stays empty";

    AddPass(images, 1, {4.0, 6.0}, 5.0, 0);
    AddPass(images, 2, {5.0}, 5.0, 0);
    const QImage afterTwoReads = images.TextImage();
    AddPass(images, 3, {7.0, 3.0}, 4.0, 0);
    const QImage afterThreeReads = images.TextImage();

    // A read pass replaces only the Play values; the Record values stay.
    const QRect record(QPoint(0, 130), QPoint(509, 298));
    EXPECT_EQ(afterThreeReads.copy(record), afterWrites.copy(record));
    EXPECT_NE(afterThreeReads.copy(QRect(QPoint(72, 37), QPoint(508, 112))),
              afterTwoReads.copy(QRect(QPoint(72, 37), QPoint(508, 112))));
    // Labels and headings are left alone.
    const QRect labels(QPoint(0, 0), QPoint(71, 298));
    EXPECT_EQ(afterThreeReads.copy(labels), empty.copy(labels));
}

TEST(PassValues, FirstReadPassRestartsTheStatistics)
{
    ResultImages run(kClient);
    run.ConfigureRun(1, 2, 0, 0, 0);
    AddPass(run, 1, {1.0, 30.0}, 2.0, 1);
    AddPass(run, 2, {0.5}, 2.0, 1);
    AddPass(run, 1, {5.0, 6.0}, 5.5, 0);

    ResultImages readsOnly(kClient);
    readsOnly.ConfigureRun(1, 2, 0, 0, 0);
    AddPass(readsOnly, 1, {5.0, 6.0}, 5.5, 0);
    const QRect play(QPoint(72, 37), QPoint(508, 112));
    EXPECT_EQ(run.TextImage().copy(play), readsOnly.TextImage().copy(play));
}

TEST(PassValues, ValueRectangleStopsShortOfTheFrame)
{
    ResultImages images(kClient);
    images.ConfigureRun(1, 1, 0, 0, 0);
    // A wide value, then a new run's first pass: the clear removes the old
    // value entirely but leaves the frame's right edge.
    AddPass(images, 1, {1e20}, 1e20, 0);
    AddPass(images, 1, {1.0}, 1.0, 0);
    const QImage image = images.TextImage();
    for (int y = 37; y < 113; ++y) {
        ASSERT_EQ(Pixel(image, 509, y), Rgb(255, 255, 255)) << y;
    }
    // The old wide values are gone: nothing right of the new ones.
    EXPECT_LT(RowInk(image, 56, 72).right(), 200);
    EXPECT_EQ(CountPixels(image, QRect(QPoint(200, 37), QPoint(508, 112)), kGrey), 309 * 76);
}

TEST(PassValues, SimultaneousPassesGoToTheSingleSection)
{
    ResultImages images(kClient);
    images.ConfigureRun(2, 0, 1, 0, 0);
    AddPass(images, 1, {5.0}, 5.0, 0);
    const QImage image = images.TextImage();
    EXPECT_FALSE(RowInk(image, 56, 72).isNull());
    EXPECT_TRUE(InkBox(image, QRect(1, 120, 507, 177)).isNull());
    EXPECT_EQ(images.HasResults(), 1);
    images.ConfigureRun(2, 0, 1, 0, 0);
    EXPECT_EQ(images.HasResults(), 0) << "reconfiguring draws the images empty";
    EXPECT_TRUE(RowInk(images.TextImage(), 56, 72).isNull());
}

// The text that Copy Results and screen readers get: what the text image
// shows, section by section.
TEST(PassValues, ResultsAsTextFollowTheTextImage)
{
    ResultImages images(kClient);
    images.ConfigureRun(3, 2, 0, 0, 0);
    const QString empty = "Play Performance:\nMin:\nMax:\nAvg:\nRecord Performance:\nMin:\nMax:\nAvg:\n";
    EXPECT_EQ(images.ResultsText(), empty);
    AddPass(images, 1, {123.456, 4.0}, 50.0, 1);
    AddPass(images, 1, {4.0, 6.0}, 5.0, 0);
    AddPass(images, 2, {5.0}, 5.0, 0);
    AddPass(images, 3, {7.0, 3.0}, 4.0, 0);
    EXPECT_EQ(images.ResultsText(), "Play Performance:\n"
                                    "Min:  3.000 MB/s\nMax:  7.000 MB/s\nAvg:  4.667 MB/s\n"
                                    "Record Performance:\n"
                                    "Min:  4.000 MB/s\nMax: 123.456 MB/s\nAvg: 50.000 MB/s\n");
    images.ConfigureRun(2, 0, 1, 0, 0);
    AddPass(images, 1, {5.0}, 5.0, 0);
    EXPECT_EQ(images.ResultsText(),
              "Play/Record Performance:\nMin:  5.000 MB/s\nMax:  5.000 MB/s\nAvg:  5.000 MB/s\n");
    images.ConfigureRun(3, 2, 0, 0, 0);
    EXPECT_EQ(images.ResultsText(), empty);
}

// Below each section's values: its longest stall and buffer verdict, and for
// Record the cache cliff; the lines above them keep every pixel.
TEST(PassFigureLines, EachKindsFiguresGoBelowItsValuesAndNothingElseChanges)
{
    const PassFigures write {1, 1, {0.412, 2.0, 0}, {true, 12.0, 3.05 * 1048576, false, 0},
                             {true, 1450.0, 380.0, 41.0, 3.2 * 1073741824.0}, 0};
    const PassFigures read {1, 0, {0.2, 0.1, 0}, {}, {}, 0};
    ResultImages plain(kClient);
    ResultImages figured(kClient);
    for (ResultImages* images : {&plain, &figured}) {
        images->ConfigureRun(1, 1, 0, 0, 12000);
        AddPass(*images, 1, {123.456, 4.0}, 50.0, 1);
        if (images == &figured) {
            images->AddPassFigures(write);
        }
        AddPass(*images, 1, {4.0, 6.0}, 5.0, 0);
        if (images == &figured) {
            images->AddPassFigures(read);
        }
    }
    const QImage before = plain.TextImage();
    const QImage after = figured.TextImage();
    const struct {
        QRect unchanged;
        int figureBaseline;  // 0: none
    } bands[] = {
        {QRect(QPoint(0, 0), QPoint(509, 97)), 113},     // Play and its figure line
        {QRect(QPoint(0, 118), QPoint(509, 211)), 227},  // Record and its first figure line
        {QRect(QPoint(0, 251), QPoint(509, 298)), 246},  // below the second
    };
    for (const auto& band : bands) {
        EXPECT_EQ(after.copy(band.unchanged), before.copy(band.unchanged)) << band.unchanged.top();
        const QRect ink = RowInk(after, band.figureBaseline);
        EXPECT_FALSE(ink.isNull()) << band.figureBaseline;
        EXPECT_LT(ink.right(), 480) << "the line fits inside the frame";
        EXPECT_TRUE(RowInk(before, band.figureBaseline).isNull());
    }
    EXPECT_EQ(figured.ResultsText(), "Play Performance:\n"
                                     "Min:  4.000 MB/s\nMax:  6.000 MB/s\nAvg:  5.000 MB/s\n"
                                     "Stall 0.200 s\n"
                                     "Record Performance:\n"
                                     "Min:  4.000 MB/s\nMax: 123.456 MB/s\nAvg: 50.000 MB/s\n"
                                     "Stall 0.412 s, buffer 3.1 MB\n"
                                     "Cliff at 3.2 GB: 1450.000 -> 380.000 MB/s\n");
    // The one write pass of a simultaneous run is not shown, nor its figures.
    figured.ConfigureRun(1, 1, 1, 0, 0);
    figured.AddPassFigures(write);
    EXPECT_EQ(figured.ResultsText(), "Play/Record Performance:\nMin:\nMax:\nAvg:\n");
}

}  // namespace
}  // namespace kel::test
