#pragma once
// The text image: a Play section and, unless every pass also writes, a Record
// section, each with the minimum, maximum and average rate of its passes and,
// below them, the figures of its passes: longest stall, the buffer verdict
// and the cache cliff.

#include "engine/PassFigures.h"
#include "view/Canvas.h"

#include <optional>
#include <string>
#include <vector>

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

// The lines of a kind's figures: "Stall 0.412 s" with the buffer a stream
// at the kind's minimum needs ("buffer 3.1 MB", "behind for good after
// 1.8 GB") when it has one, then the cache cliff ("Cliff at 3.2 GB: 1450.000
// -> 380.000 MB/s") where one was found; none before a pass has figures.
std::vector<std::string> FigureLines(const KindFigures& figures);

// The row of a section's first figure line: the one below its "Avg:".
constexpr int kFigureRowOffset = 4;

// Replaces the figure lines of the section that starts at firstRow; what is
// above them (the section's values) keeps every pixel.
void WriteFigureLines(Canvas& image, const TextLayout& layout, int firstRow, const std::vector<std::string>& lines);

// The text image's contents as lines: the Play section (or, with
// simultaneous write, the Play/Record section) and then the Record section,
// each a heading and "Min:", "Max:", "Avg:" with the values it has, then its
// figure lines.
std::string ResultsAsText(int simultaneous, const std::optional<SectionValues>& play,
                          const std::optional<SectionValues>& record, const KindFigures& playFigures = {},
                          const KindFigures& recordFigures = {});

}  // namespace kel
