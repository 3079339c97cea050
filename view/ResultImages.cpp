#include "view/ResultImages.h"

#include <QBuffer>

#include <cmath>

namespace kel {

namespace {

QImage MakeImage(QSize size, double pixelRatio = 1.0)
{
    if (size.isEmpty()) {
        return QImage();
    }
    if (pixelRatio == 1.0) {
        return QImage(size, QImage::Format_RGB32);
    }
    QImage image(QSize(static_cast<int>(std::lround(size.width() * pixelRatio)),
                       static_cast<int>(std::lround(size.height() * pixelRatio))),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    return image;
}

}  // namespace

ResultImages::ResultImages(QSize clientSize, GraphScale scale)
    : m_clientSize(clientSize),
      m_graphImage(MakeImage(clientSize)),
      m_textImage(MakeImage(clientSize)),
      m_scale(scale),
      m_textLayout(ComputeTextLayout(clientSize))
{
    DrawBackgroundsLocked();
}

void ResultImages::ConfigureRun(int readReps, int writeReps, int simultaneous, int minRead, int minWrite)
{
    const std::lock_guard guard(m_lock);
    m_readReps = readReps;
    m_writeReps = writeReps;
    m_simultaneous = simultaneous;
    m_minRead = minRead;
    m_minWrite = minWrite;
    DrawBackgroundsLocked();
}

void ResultImages::AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate,
                                  int isWrite)
{
    const std::lock_guard guard(m_lock);
    const int passCount = isWrite != 0 ? m_writeReps : m_readReps;
    // A pass outside the configured run has no place on the graph; drawing it
    // would divide by a zero count or read samples that are not there.
    if (samples == nullptr || sampleCount < 1 || passNumber < 1 || passCount < 1) {
        return;
    }
    const bool recordSection = isWrite != 0 && m_simultaneous == 0;

    m_passes.push_back({passNumber, isWrite != 0, std::vector<double>(samples, samples + sampleCount)});
    for (int i = 0; i < sampleCount; ++i) {
        if (std::isfinite(samples[i]) && samples[i] > m_fastest) {
            m_fastest = samples[i];
        }
    }
    if (WantedTopLocked() != m_graphLayout.scaleTop) {
        RedrawGraphLocked();
    } else {
        DrawCurveLocked(m_passes.back());
        DrawMarkLocked();
    }

    m_statistics.Add(passNumber, samples, sampleCount, passRate);
    const SectionValues values {m_statistics.minRate, m_statistics.maxRate, m_statistics.Average()};
    (recordSection ? m_recordValues : m_playValues) = values;
    if (!m_textImage.isNull()) {
        WriteSectionValues(m_textImage, m_objects, m_textLayout, recordSection ? kRecordSectionRow : kPlaySectionRow,
                           values);
    }
    m_hasResults = 1;
}

void ResultImages::AddPassFigures(const PassFigures& figures)
{
    const std::lock_guard guard(m_lock);
    // A simultaneous run's one write pass is not shown.
    if (figures.isWrite != 0 && m_simultaneous != 0) {
        return;
    }
    const bool recordSection = figures.isWrite != 0;
    KindFigures& kind = recordSection ? m_recordFigures : m_playFigures;
    kind.Add(figures);
    WriteFigureLines(m_textImage, m_objects, m_textLayout, recordSection ? kRecordSectionRow : kPlaySectionRow,
                     FigureLines(kind));
}

void ResultImages::Resize(QSize clientSize, double pixelRatio)
{
    const std::lock_guard guard(m_lock);
    if (clientSize == m_clientSize && pixelRatio == m_pixelRatio) {
        return;
    }
    m_clientSize = clientSize;
    m_pixelRatio = pixelRatio;
    m_graphImage = MakeImage(clientSize, pixelRatio);
    m_textImage = MakeImage(clientSize, pixelRatio);
    m_textLayout = ComputeTextLayout(clientSize);
    DrawBackgroundsLocked();
}

void ResultImages::SetScale(const GraphScale& scale)
{
    const std::lock_guard guard(m_lock);
    if (scale == m_scale) {
        return;
    }
    m_scale = scale;
    RedrawGraphLocked();
}

GraphScale ResultImages::Scale() const
{
    const std::lock_guard guard(m_lock);
    return m_scale;
}

int ResultImages::ScaleTop() const
{
    const std::lock_guard guard(m_lock);
    return m_graphLayout.scaleTop;
}

bool ResultImages::HidesResults() const
{
    const std::lock_guard guard(m_lock);
    return kel::HidesResults(m_scale, m_fastest);
}

int ResultImages::HasResults() const
{
    const std::lock_guard guard(m_lock);
    return m_hasResults;
}

DrawnPass ResultImages::LastPass() const
{
    const std::lock_guard guard(m_lock);
    return m_passes.empty() ? DrawnPass {} : DrawnPass {m_passes.back().passNumber, m_passes.back().isWrite};
}

QString ResultImages::ResultsText() const
{
    const std::lock_guard guard(m_lock);
    return ResultsAsText(m_simultaneous, m_playValues, m_recordValues, m_playFigures, m_recordFigures);
}

QImage ResultImages::GraphImage() const
{
    const std::lock_guard guard(m_lock);
    return m_graphImage.copy();
}

QImage ResultImages::TextImage() const
{
    const std::lock_guard guard(m_lock);
    return m_textImage.copy();
}

int ResultImages::WantedTopLocked() const
{
    return ShownScaleTop(m_scale, m_fastest);
}

void ResultImages::DrawMarkLocked()
{
    // Drawn after every curve, which may have crossed it on its way up.
    if (kel::HidesResults(m_scale, m_fastest)) {
        DrawAboveScaleMark(m_graphImage, m_objects, m_graphLayout);
    }
}

void ResultImages::LayOutGraphLocked()
{
    const int top = WantedTopLocked();
    m_graphLayout = ComputeGraphLayout(m_clientSize, top, WidestScaleLabel(m_objects.axisFont, top));
}

void ResultImages::DrawBackgroundsLocked()
{
    m_passes.clear();
    m_fastest = 0.0;
    m_playValues.reset();
    m_recordValues.reset();
    m_playFigures = KindFigures {};
    m_recordFigures = KindFigures {};
    RedrawGraphLocked();  // with no passes kept: the empty graph
    DrawEmptyText(m_textImage, m_objects, m_textLayout, m_simultaneous);
    m_hasResults = 0;
}

void ResultImages::RedrawGraphLocked()
{
    LayOutGraphLocked();
    const GraphSettings settings {m_simultaneous, m_minRead, m_minWrite};
    DrawEmptyGraph(m_graphImage, m_objects, m_graphLayout, settings);
    for (const KeptPass& pass : m_passes) {
        DrawCurveLocked(pass);
    }
    DrawMarkLocked();
}

void ResultImages::DrawCurveLocked(const KeptPass& pass)
{
    if (m_graphImage.isNull()) {
        return;
    }
    const int passCount = pass.isWrite ? m_writeReps : m_readReps;
    const PassCurve curve {pass.passNumber, passCount, pass.samples.data(), static_cast<int>(pass.samples.size()),
                           pass.isWrite};
    DrawPassCurve(m_graphImage, m_graphLayout, curve, m_lastPoint);
}

std::optional<QByteArray> PngBytes(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        return std::nullopt;
    }
    return png;
}

}  // namespace kel
