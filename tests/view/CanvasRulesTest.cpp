// Every painter meets the pixels the drawing rules fix: the graph of one fixed
// run drawn through this system's painter against the same run drawn with no
// text at all. Only text may differ, by font; lines, dots and curves may not.
#include "tests/view/CanvasRules.h"
#include "view/ResultDrawing.h"

#include <gtest/gtest.h>

#include <vector>

namespace kel::test {
namespace {

// Pixels only: text measures 6 pixels a character and draws nothing.
class BareCanvas : public Canvas {
public:
    explicit BareCanvas(Size size) : m_size(size), m_pixels(static_cast<std::size_t>(size.width * size.height)) {}
    Size Dimensions() const override { return m_size; }
    Colour* Row(int y) override { return m_pixels.data() + static_cast<std::ptrdiff_t>(y) * m_size.width; }
    TextExtent MeasureText(FontRole, std::string_view text) const override
    {
        return {6 * static_cast<int>(text.size()), 9, 3};
    }
    void DrawBaselineText(FontRole, int, int, std::string_view) override {}

private:
    Size m_size;
    std::vector<Colour> m_pixels;
};

constexpr Size kClientSize {510, 299};

void DrawFixedRun(ResultDrawing& drawing)
{
    drawing.ConfigureRun(2, 2, 0, 12000, 9000);
    const std::vector<double> passes[] = {{10.0, 12.5, 11.0}, {11.5, 9.0, 13.0}, {15.0, 16.5, 14.0}, {17.0, 15.5}};
    for (int i = 0; i < 4; ++i) {
        const int isWrite = i < 2 ? 1 : 0;
        drawing.AddPassResults(i % 2 + 1, passes[i].data(), static_cast<int>(passes[i].size()), 12.0, isWrite);
    }
}

Colour PixelAt(const ResultDrawing& drawing, int x, int y)
{
    Colour colour = 0;
    drawing.WithCanvas(true, [&](Canvas& canvas) { colour = canvas.Row(y)[x] & 0xFFFFFFu; });
    return colour;
}

// The pens of curves, legend lines and thresholds: no text lies on them.
bool IsPenColour(Colour colour)
{
    for (const Colour pen : {kReadPen, kWritePen, kMinReadPen, kMinWritePen}) {
        if (colour == (pen & 0xFFFFFFu)) {
            return true;
        }
    }
    return false;
}

TEST(CanvasRules, LinesDotsAndCurvesArePixelForPixelTheRulesOnes)
{
    ResultDrawing painted(kClientSize, DefaultGraphScale(), MakeToolkitCanvas);
    ResultDrawing bare(kClientSize, DefaultGraphScale(),
                       [](Size size, double) -> std::unique_ptr<Canvas> { return std::make_unique<BareCanvas>(size); });
    DrawFixedRun(painted);
    DrawFixedRun(bare);

    const struct {
        int x, y;
        Colour colour;
    } fixed[] = {
        {29, 20, kBlackPen},   {29, 150, kBlackPen},  {29, 275, kBlackPen},     // the vertical axis
        {100, 276, kBlackPen}, {496, 276, kBlackPen}, {497, 276, kBackColour},  // the base line, end excluded
        {30, 251, kBlackPen},  {33, 251, kBlackPen},  {31, 251, kBackColour},   // dots of the 2 MB/s line
        {60, 226, kBlackPen},  {50, 126, kMinReadPen}, {50, 163, kMinWritePen},  // 12 and 9 MB/s
        {0, 0, kShadowColour}, {509, 298, kLightColour},                        // the sunken edge
    };
    for (const auto& pixel : fixed) {
        EXPECT_EQ(PixelAt(painted, pixel.x, pixel.y), pixel.colour & 0xFFFFFFu) << pixel.x << "," << pixel.y;
    }
    // Wherever either has a coloured pen's pixel (curves, legend lines,
    // thresholds), both have the same one.
    int coloured = 0;
    for (int y = 0; y < kClientSize.height; ++y) {
        for (int x = 0; x < kClientSize.width; ++x) {
            const Colour a = PixelAt(painted, x, y);
            const Colour b = PixelAt(bare, x, y);
            if (IsPenColour(a) || IsPenColour(b)) {
                ++coloured;
                EXPECT_EQ(a, b) << x << "," << y;
            }
        }
    }
    EXPECT_GT(coloured, 900);
}

// A screen at 200 %: every pixel the rules fix is a 2 x 2 block of the same
// colour, and the text is drawn at the finer resolution, not scaled up.
TEST(CanvasRules, AtTwiceTheRatioEachRulePixelIsABlockAndTextIsFiner)
{
    ResultDrawing painted(kClientSize, DefaultGraphScale(), MakeToolkitCanvas);
    painted.Resize(kClientSize, 2.0);
    ResultDrawing bare(kClientSize, DefaultGraphScale(),
                       [](Size size, double) -> std::unique_ptr<Canvas> { return std::make_unique<BareCanvas>(size); });
    DrawFixedRun(painted);
    DrawFixedRun(bare);

    int coloured = 0;
    int unevenText = 0;
    painted.WithCanvas(true, [&](Canvas& graph) {
        ASSERT_EQ(graph.DevicePixels(), Size(2 * kClientSize.width, 2 * kClientSize.height));
        for (int y = 0; y < kClientSize.height; ++y) {
            for (int x = 0; x < kClientSize.width; ++x) {
                const Colour b = PixelAt(bare, x, y);
                if (!IsPenColour(b)) {
                    continue;  // where text of another font may lie
                }
                ++coloured;
                for (const int d : {0, 1}) {
                    EXPECT_EQ(graph.Row(2 * y + d)[2 * x + d] & 0xFFFFFFu, b) << x << "," << y;
                }
            }
        }
    });
    painted.WithCanvas(false, [&](Canvas& text) {
        const Size device = text.DevicePixels();
        for (int y = 0; y + 1 < device.height; y += 2) {
            for (int x = 0; x + 1 < device.width; x += 2) {
                const Colour corner = text.Row(y)[x] & 0xFFFFFFu;
                unevenText += (text.Row(y)[x + 1] & 0xFFFFFFu) != corner ||
                                      (text.Row(y + 1)[x] & 0xFFFFFFu) != corner
                                  ? 1
                                  : 0;
            }
        }
    });
    EXPECT_GT(coloured, 900);
    EXPECT_GT(unevenText, 100) << "text drawn at the image's own resolution";
}

}  // namespace
}  // namespace kel::test
