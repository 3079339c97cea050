#include "view/TextDrawing.h"

#include "engine/PassStatistics.h"
#include "engine/PassWatch.h"
#include "view/LineRaster.h"

#include <QFontMetrics>

namespace kel {

namespace {

constexpr const char* kValueLabels[] = {"Min:", "Max:", "Avg:"};

int RowY(const TextLayout& layout, int row)
{
    return layout.textTop + row * layout.lineHeight;
}

QString PlayHeading(int simultaneous)
{
    return simultaneous != 0 ? QStringLiteral("Play/Record Performance:") : QStringLiteral("Play Performance:");
}

QString RecordHeading()
{
    return QStringLiteral("Record Performance:");
}

void DrawLabels(QImage& image, const DrawingObjects& objects, const TextLayout& layout, int firstRow)
{
    int row = firstRow;
    for (const char* label : kValueLabels) {
        ++row;
        DrawOpaqueText(image, objects.valueFont, layout.labelX, RowY(layout, row), TextAnchor::LeftBaseline,
                       QString::fromLatin1(label));
    }
}

void AppendSection(QString& text, const QString& heading, const std::optional<SectionValues>& values,
                   const KindFigures& passFigures)
{
    text += heading + QLatin1Char('\n');
    const SectionValues shown = values.value_or(SectionValues {});
    const double figures[] = {shown.minRate, shown.maxRate, shown.average};
    for (int i = 0; i < 3; ++i) {
        text += QString::fromLatin1(kValueLabels[i]);
        if (values) {
            text += QLatin1Char(' ') + FormatRate(figures[i]);
        }
        text += QLatin1Char('\n');
    }
    for (const QString& line : FigureLines(passFigures)) {
        text += line + QLatin1Char('\n');
    }
}

}  // namespace

TextLayout ComputeTextLayout(QSize clientSize)
{
    TextLayout layout;
    layout.textTop = clientSize.height() / 8;
    layout.labelX = clientSize.width() / 22;
    layout.lineHeight = clientSize.height() / 15;
    layout.valueX = clientSize.width() / 7;
    return layout;
}

QString FormatRate(double rate)
{
    return QString::fromStdString(RateText(rate));
}

void DrawEmptyText(QImage& image, const DrawingObjects& objects, const TextLayout& layout, int simultaneous)
{
    if (image.isNull()) {
        return;
    }
    FillImageRect(image, 0, 0, LogicalSize(image).width(), LogicalSize(image).height(), kBackColour);
    DrawImageEdge3d(image, kShadowColour, kLightColour);

    DrawOpaqueText(image, objects.headingFont, layout.labelX, RowY(layout, kPlaySectionRow) - 6,
                   TextAnchor::LeftBaseline, PlayHeading(simultaneous));
    if (simultaneous == 0) {
        DrawOpaqueText(image, objects.headingFont, layout.labelX, RowY(layout, kRecordSectionRow) - 6,
                       TextAnchor::LeftBaseline, RecordHeading());
    }
    DrawLabels(image, objects, layout, kPlaySectionRow);
    if (simultaneous == 0) {
        DrawLabels(image, objects, layout, kRecordSectionRow);
    }
}

void WriteSectionValues(QImage& image, const DrawingObjects& objects, const TextLayout& layout, int firstRow,
                        const SectionValues& values)
{
    // Clears the section's value column from its heading row to one row below
    // "Avg:", short of the frame's right edge; labels and headings stay.
    FillImageRect(image, layout.valueX, RowY(layout, firstRow), LogicalSize(image).width() - 1, RowY(layout, firstRow + 4),
                  kBackColour);
    int row = firstRow;
    for (double value : {values.minRate, values.maxRate, values.average}) {
        ++row;
        DrawOpaqueText(image, objects.valueFont, layout.valueX, RowY(layout, row), TextAnchor::LeftBaseline,
                       FormatRate(value));
    }
}

std::vector<QString> FigureLines(const KindFigures& figures)
{
    std::vector<QString> lines;
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
    lines.push_back(QString::fromStdString(first));
    if (figures.cliffPass != 0) {
        const CliffFigure& cliff = figures.cliff;
        lines.push_back(QString::fromStdString("Cliff at " + SizeText(cliff.atBytes, false) + ": " +
                                               FixedText(cliff.fastRate, 3) + " -> " + RateText(cliff.slowRate)));
    }
    return lines;
}

void WriteFigureLines(QImage& image, const DrawingObjects& objects, const TextLayout& layout, int firstRow,
                      const std::vector<QString>& lines)
{
    if (image.isNull() || lines.empty()) {
        return;
    }
    // From below the descenders of "Avg:" to below those of the last line.
    const int descent = QFontMetrics(objects.valueFont).descent();
    const int row = firstRow + kFigureRowOffset;
    const int last = row + static_cast<int>(lines.size()) - 1;
    FillImageRect(image, layout.labelX, RowY(layout, row - 1) + descent + 1, image.width() - 1,
                  RowY(layout, last) + descent + 1, kBackColour);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        DrawOpaqueText(image, objects.valueFont, layout.labelX, RowY(layout, row + static_cast<int>(i)),
                       TextAnchor::LeftBaseline, lines[i]);
    }
}

QString ResultsAsText(int simultaneous, const std::optional<SectionValues>& play,
                      const std::optional<SectionValues>& record, const KindFigures& playFigures,
                      const KindFigures& recordFigures)
{
    QString text;
    AppendSection(text, PlayHeading(simultaneous), play, playFigures);
    if (simultaneous == 0) {
        AppendSection(text, RecordHeading(), record, recordFigures);
    }
    return text;
}

}  // namespace kel
