#include "view/TextDrawing.h"

#include "engine/PassStatistics.h"
#include "engine/PassWatch.h"
#include "view/LineRaster.h"

namespace kel {

namespace {

constexpr const char* kValueLabels[] = {"Min:", "Max:", "Avg:"};

int RowY(const TextLayout& layout, int row)
{
    return layout.textTop + row * layout.lineHeight;
}

std::string PlayHeading(int simultaneous)
{
    return simultaneous != 0 ? "Play/Record Performance:" : "Play Performance:";
}

std::string RecordHeading()
{
    return "Record Performance:";
}

void DrawLabels(Canvas& image, const TextLayout& layout, int firstRow)
{
    int row = firstRow;
    for (const char* label : kValueLabels) {
        ++row;
        DrawOpaqueText(image, FontRole::Value, layout.labelX, RowY(layout, row), TextAnchor::LeftBaseline, label);
    }
}

void AppendSection(std::string& text, const std::string& heading, const std::optional<SectionValues>& values,
                   const KindFigures& passFigures)
{
    text += heading + '\n';
    const SectionValues shown = values.value_or(SectionValues {});
    const double figures[] = {shown.minRate, shown.maxRate, shown.average};
    for (int i = 0; i < 3; ++i) {
        text += kValueLabels[i];
        if (values) {
            text += ' ' + FormatRate(figures[i]);
        }
        text += '\n';
    }
    for (const std::string& line : FigureLines(passFigures)) {
        text += line + '\n';
    }
}

}  // namespace

TextLayout ComputeTextLayout(Size clientSize)
{
    TextLayout layout;
    layout.textTop = clientSize.height / 8;
    layout.labelX = clientSize.width / 22;
    layout.lineHeight = clientSize.height / 15;
    layout.valueX = clientSize.width / 7;
    return layout;
}

std::string FormatRate(double rate)
{
    return RateText(rate);
}

void DrawEmptyText(Canvas& image, const TextLayout& layout, int simultaneous)
{
    const Size size = image.Dimensions();
    if (size.IsEmpty()) {
        return;
    }
    FillImageRect(image, 0, 0, size.width, size.height, kBackColour);
    DrawImageEdge3d(image, kShadowColour, kLightColour);

    DrawOpaqueText(image, FontRole::Heading, layout.labelX, RowY(layout, kPlaySectionRow) - 6,
                   TextAnchor::LeftBaseline, PlayHeading(simultaneous));
    if (simultaneous == 0) {
        DrawOpaqueText(image, FontRole::Heading, layout.labelX, RowY(layout, kRecordSectionRow) - 6,
                       TextAnchor::LeftBaseline, RecordHeading());
    }
    DrawLabels(image, layout, kPlaySectionRow);
    if (simultaneous == 0) {
        DrawLabels(image, layout, kRecordSectionRow);
    }
}

void WriteSectionValues(Canvas& image, const TextLayout& layout, int firstRow, const SectionValues& values)
{
    // Clears the section's value column from its heading row to one row below
    // "Avg:", short of the frame's right edge; labels and headings stay.
    FillImageRect(image, layout.valueX, RowY(layout, firstRow), image.Dimensions().width - 1,
                  RowY(layout, firstRow + 4), kBackColour);
    int row = firstRow;
    for (double value : {values.minRate, values.maxRate, values.average}) {
        ++row;
        DrawOpaqueText(image, FontRole::Value, layout.valueX, RowY(layout, row), TextAnchor::LeftBaseline,
                       FormatRate(value));
    }
}

std::vector<std::string> FigureLines(const KindFigures& figures)
{
    std::vector<std::string> lines;
    if (!figures.any) {
        return lines;
    }
    // Short enough for the narrow text view: the stream's rate is the
    // kind's minimum, drawn on the graph.
    const StreamFigure& stream = figures.stream;
    std::string first = "Stall " + FixedText(figures.stall.seconds, 3) + " s";
    if (stream.judged) {
        first += stream.fallsBehind
                     ? ", behind for good after " + SizeText(static_cast<double>(stream.behindAfterBytes), false)
                     : ", buffer " + SizeText(stream.bufferBytes, true);
    }
    lines.push_back(first);
    if (figures.cliffPass != 0) {
        const CliffFigure& cliff = figures.cliff;
        lines.push_back("Cliff at " + SizeText(cliff.atBytes, false) + ": " + FixedText(cliff.fastRate, 3) + " -> " +
                        RateText(cliff.slowRate));
    }
    return lines;
}

void WriteFigureLines(Canvas& image, const TextLayout& layout, int firstRow, const std::vector<std::string>& lines)
{
    if (image.Dimensions().IsEmpty() || lines.empty()) {
        return;
    }
    // From below the descenders of "Avg:" to below those of the last line.
    const int descent = image.MeasureText(FontRole::Value, "").descent;
    const int row = firstRow + kFigureRowOffset;
    const int last = row + static_cast<int>(lines.size()) - 1;
    FillImageRect(image, layout.labelX, RowY(layout, row - 1) + descent + 1, image.Dimensions().width - 1,
                  RowY(layout, last) + descent + 1, kBackColour);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        DrawOpaqueText(image, FontRole::Value, layout.labelX, RowY(layout, row + static_cast<int>(i)),
                       TextAnchor::LeftBaseline, lines[i]);
    }
}

std::string ResultsAsText(int simultaneous, const std::optional<SectionValues>& play,
                          const std::optional<SectionValues>& record, const KindFigures& playFigures,
                          const KindFigures& recordFigures)
{
    std::string text;
    AppendSection(text, PlayHeading(simultaneous), play, playFigures);
    if (simultaneous == 0) {
        AppendSection(text, RecordHeading(), record, recordFigures);
    }
    return text;
}

}  // namespace kel
