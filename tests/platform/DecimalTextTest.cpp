// Numbers as text, the same as the C locale's printf whatever the locale.

#include "platform/DecimalText.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace kel {
namespace {

TEST(DecimalText, FixedTextIsTheCLocalesPrintfRoundingAndWidthIncluded)
{
    // The test runs in the C locale, where printf is the reference.
    for (const double value : {0.0, 1.5, 714.767, 0.0005, 0.0015, 2.5e-7, 9999.9995, 12345678.25, -3.25, 1e300}) {
        for (const int decimals : {1, 3}) {
            char expected[512];
            std::snprintf(expected, sizeof expected, "%6.*f", decimals, value);
            EXPECT_EQ(FixedText(value, decimals, 6), expected) << value;
        }
    }
}

TEST(DecimalText, ShortestTextReadsBackAsTheSameValue)
{
    EXPECT_EQ(ShortestText(2.0), "2");
    EXPECT_EQ(ShortestText(0.1), "0.1");
    for (const double value : {1048576.0 * 714.7673, 1796766711.473, 1e21, -0.000123}) {
        EXPECT_EQ(std::stod(ShortestText(value)), value);
    }
}

}  // namespace
}  // namespace kel
