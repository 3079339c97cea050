#pragma once
// The text image: a Play section and, unless every pass also writes, a Record
// section, each with the minimum, maximum and average rate of its passes.

#include "view/Canvas.h"

#include <optional>
#include <string>

namespace kel {

struct TextLayout {
    int textTop = 0;     // baseline reference of row 0
    int labelX = 0;
    int lineHeight = 0;
    int valueX = 0;
};

constexpr int kPlaySectionRow = 0;
constexpr int kRecordSectionRow = 6;

TextLayout ComputeTextLayout(Size clientSize);

// "%6.3lf MB/s": at least six characters with three decimals, never cut.
std::string FormatRate(double rate);

void DrawEmptyText(Canvas& image, const TextLayout& layout, int simultaneous);

struct SectionValues {
    double minRate = 0.0;
    double maxRate = 0.0;
    double average = 0.0;
};

// Replaces the values of the section that starts at firstRow.
void WriteSectionValues(Canvas& image, const TextLayout& layout, int firstRow, const SectionValues& values);

// The text image's contents as lines: the Play section (or, with
// simultaneous write, the Play/Record section) and then the Record section,
// each a heading and "Min:", "Max:", "Avg:" with the values it has.
std::string ResultsAsText(int simultaneous, const std::optional<SectionValues>& play,
                          const std::optional<SectionValues>& record);

}  // namespace kel
