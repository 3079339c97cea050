#include "view/ResultImages.h"

namespace kel {

namespace {

QImage MakeImage(QSize size)
{
    return size.isEmpty() ? QImage() : QImage(size, QImage::Format_RGB32);
}

}  // namespace

ResultImages::ResultImages(QSize clientSize)
    : m_clientSize(clientSize),
      m_graphImage(MakeImage(clientSize)),
      m_textImage(MakeImage(clientSize)),
      m_graphLayout(ComputeGraphLayout(clientSize)),
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
    const int firstRow = (isWrite != 0 && m_simultaneous == 0) ? kRecordSectionRow : kPlaySectionRow;

    if (!m_graphImage.isNull()) {
        const PassCurve pass {passNumber, passCount, samples, sampleCount, isWrite != 0};
        DrawPassCurve(m_graphImage, m_graphLayout, pass, m_lastPoint);
    }

    m_statistics.Add(passNumber, samples, sampleCount, passRate);
    if (!m_textImage.isNull()) {
        const SectionValues values {m_statistics.minRate, m_statistics.maxRate, m_statistics.Average()};
        WriteSectionValues(m_textImage, m_objects, m_textLayout, firstRow, values);
    }
    m_hasResults = 1;
}

void ResultImages::Resize(QSize clientSize)
{
    const std::lock_guard guard(m_lock);
    if (clientSize == m_clientSize) {
        return;
    }
    m_clientSize = clientSize;
    m_graphImage = MakeImage(clientSize);
    m_textImage = MakeImage(clientSize);
    m_graphLayout = ComputeGraphLayout(clientSize);
    m_textLayout = ComputeTextLayout(clientSize);
    DrawBackgroundsLocked();
}

int ResultImages::HasResults() const
{
    const std::lock_guard guard(m_lock);
    return m_hasResults;
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

void ResultImages::DrawBackgroundsLocked()
{
    const GraphSettings settings {m_simultaneous, m_minRead, m_minWrite};
    DrawEmptyGraph(m_graphImage, m_objects, m_graphLayout, settings);
    DrawEmptyText(m_textImage, m_objects, m_textLayout, m_simultaneous);
    m_hasResults = 0;
}

}  // namespace kel
