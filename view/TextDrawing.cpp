#include "view/TextDrawing.h"

#include "engine/PassStatistics.h"
#include "view/LineRaster.h"

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

void AppendSection(QString& text, const QString& heading, const std::optional<SectionValues>& values)
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

QString ResultsAsText(int simultaneous, const std::optional<SectionValues>& play,
                      const std::optional<SectionValues>& record)
{
    QString text;
    AppendSection(text, PlayHeading(simultaneous), play);
    if (simultaneous == 0) {
        AppendSection(text, RecordHeading(), record);
    }
    return text;
}

}  // namespace kel
