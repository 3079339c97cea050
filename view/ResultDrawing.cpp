#include "view/ResultDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kel {

ResultDrawing::ResultDrawing(Size clientSize, GraphScale scale, CanvasMaker makeCanvas)
    : m_makeCanvas(std::move(makeCanvas)),
      m_clientSize(clientSize),
      m_graphImage(m_makeCanvas(clientSize, 1.0)),
      m_textImage(m_makeCanvas(clientSize, 1.0)),
      m_scale(scale),
      m_textLayout(ComputeTextLayout(clientSize))
{
    DrawBackgroundsLocked();
}

void ResultDrawing::ConfigureRun(int readReps, int writeReps, int simultaneous, int minRead, int minWrite)
{
    const std::lock_guard guard(m_lock);
    m_readReps = readReps;
    m_writeReps = writeReps;
    m_simultaneous = simultaneous;
    m_minRead = minRead;
    m_minWrite = minWrite;
    DrawBackgroundsLocked();
}

void ResultDrawing::AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate,
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

    for (int i = 0; i < sampleCount; ++i) {
        if (std::isfinite(samples[i]) && samples[i] > m_fastest) {
            m_fastest = samples[i];
        }
    }
    // The new pass is drawn from its samples, the kept ones from what was kept.
    if (WantedTopLocked() != m_graphLayout.scaleTop) {
        RedrawKeptLocked();
    }
    const PassCurve curve {passNumber, passCount, samples, sampleCount, isWrite != 0};
    DrawSamplesLocked(curve);
    DrawMarkLocked();
    m_passes.push_back(KeepLocked(curve, 0));

    m_statistics.Add(passNumber, samples, sampleCount, passRate);
    const SectionValues values {m_statistics.minRate, m_statistics.maxRate, m_statistics.Average()};
    (recordSection ? m_recordValues : m_playValues) = values;
    WriteSectionValues(*m_textImage, m_textLayout, recordSection ? kRecordSectionRow : kPlaySectionRow, values);
    m_hasResults = 1;
}

void ResultDrawing::AddComparedPass(int run, int passNumber, int passCount, const double* samples, int sampleCount,
                                   bool isWrite)
{
    const std::lock_guard guard(m_lock);
    if (samples == nullptr || sampleCount < 1 || passNumber < 1 || passCount < passNumber || run < 1) {
        return;
    }
    for (int i = 0; i < sampleCount; ++i) {
        if (std::isfinite(samples[i]) && samples[i] > m_comparedFastest) {
            m_comparedFastest = samples[i];
        }
    }
    m_fastest = std::max(m_fastest, m_comparedFastest);
    const PassCurve curve {passNumber, passCount, samples, sampleCount, isWrite, run};
    m_compared.push_back(KeepLocked(curve, run));
    // Beneath this run's passes: everything is drawn again.
    RedrawGraphLocked();
}

void ResultDrawing::ClearCompared()
{
    const std::lock_guard guard(m_lock);
    m_compared.clear();
    m_comparedFastest = 0.0;
    m_runNames.clear();
    RedrawGraphLocked();
}

void ResultDrawing::SetRunNames(std::vector<std::string> names)
{
    const std::lock_guard guard(m_lock);
    m_runNames = std::move(names);
    RedrawGraphLocked();
}

void ResultDrawing::AddPassFigures(const PassFigures& figures)
{
    const std::lock_guard guard(m_lock);
    // A simultaneous run's one write pass is not shown.
    if (figures.isWrite != 0 && m_simultaneous != 0) {
        return;
    }
    const bool recordSection = figures.isWrite != 0;
    KindFigures& kind = recordSection ? m_recordFigures : m_playFigures;
    kind.Add(figures);
    WriteFigureLines(*m_textImage, m_textLayout, recordSection ? kRecordSectionRow : kPlaySectionRow,
                     FigureLines(kind));
}

void ResultDrawing::Resize(Size clientSize, double pixelRatio)
{
    const std::lock_guard guard(m_lock);
    if (clientSize == m_clientSize && pixelRatio == m_pixelRatio) {
        return;
    }
    m_clientSize = clientSize;
    m_pixelRatio = pixelRatio;
    m_graphImage = m_makeCanvas(clientSize, pixelRatio);
    m_textImage = m_makeCanvas(clientSize, pixelRatio);
    m_textLayout = ComputeTextLayout(clientSize);
    m_candidateLayouts.clear();
    m_compared.clear();
    m_comparedFastest = 0.0;
    DrawBackgroundsLocked();
}

void ResultDrawing::SetScale(const GraphScale& scale)
{
    const std::lock_guard guard(m_lock);
    if (scale == m_scale) {
        return;
    }
    m_scale = scale;
    if (std::find(m_candidateTops.begin(), m_candidateTops.end(), scale.fixedTop) == m_candidateTops.end()) {
        // Passes kept from now on can be drawn on this top as well.
        m_candidateTops.push_back(scale.fixedTop);
        m_candidateLayouts.clear();
    }
    RedrawGraphLocked();
}

GraphScale ResultDrawing::Scale() const
{
    const std::lock_guard guard(m_lock);
    return m_scale;
}

int ResultDrawing::ScaleTop() const
{
    const std::lock_guard guard(m_lock);
    return m_graphLayout.scaleTop;
}

bool ResultDrawing::HidesResults() const
{
    const std::lock_guard guard(m_lock);
    return kel::HidesResults(m_scale, m_fastest);
}

int ResultDrawing::HasResults() const
{
    const std::lock_guard guard(m_lock);
    return m_hasResults;
}

DrawnPass ResultDrawing::LastPass() const
{
    const std::lock_guard guard(m_lock);
    return m_passes.empty() ? DrawnPass {} : DrawnPass {m_passes.back().passNumber, m_passes.back().isWrite};
}

std::string ResultDrawing::ResultLines() const
{
    const std::lock_guard guard(m_lock);
    return ResultsAsText(m_simultaneous, m_playValues, m_recordValues, m_playFigures, m_recordFigures);
}

int ResultDrawing::WantedTopLocked() const
{
    return ShownScaleTop(m_scale, m_fastest);
}

void ResultDrawing::DrawMarkLocked()
{
    // Drawn after every curve, which may have crossed it on its way up.
    if (kel::HidesResults(m_scale, m_fastest)) {
        DrawAboveScaleMark(*m_graphImage, m_graphLayout);
    }
}

void ResultDrawing::LayOutGraphLocked()
{
    const int top = WantedTopLocked();
    m_graphLayout = ComputeGraphLayout(m_clientSize, top, WidestScaleLabel(*m_graphImage, top));
}

void ResultDrawing::DrawBackgroundsLocked()
{
    m_passes.clear();
    m_fastest = m_comparedFastest;
    m_playValues.reset();
    m_recordValues.reset();
    m_playFigures = KindFigures {};
    m_recordFigures = KindFigures {};
    RedrawGraphLocked();  // with no passes kept: the empty graph
    DrawEmptyText(*m_textImage, m_textLayout, m_simultaneous);
    m_hasResults = 0;
}

void ResultDrawing::RedrawGraphLocked()
{
    RedrawKeptLocked();
    DrawMarkLocked();
}

void ResultDrawing::RedrawKeptLocked()
{
    LayOutGraphLocked();
    const GraphSettings settings {m_simultaneous, m_minRead, m_minWrite};
    DrawEmptyGraph(*m_graphImage, m_graphLayout, settings);
    if (!m_runNames.empty() && !m_graphImage->Dimensions().IsEmpty()) {
        DrawRunNames(*m_graphImage, m_graphLayout, m_runNames);
    }
    // The other runs' curves neither start nor end this run's.
    const Point lastPoint = m_lastPoint;
    for (const KeptPass& pass : m_compared) {
        DrawCurveLocked(pass);
    }
    m_lastPoint = lastPoint;
    for (const KeptPass& pass : m_passes) {
        DrawCurveLocked(pass);
    }
}

const std::vector<GraphLayout>& ResultDrawing::CandidateLayoutsLocked()
{
    if (m_candidateLayouts.empty()) {
        std::vector<int> tops = FittedScaleTops();
        tops.push_back(kDefaultScaleTop);
        tops.insert(tops.end(), m_candidateTops.begin(), m_candidateTops.end());
        tops.push_back(m_scale.fixedTop);
        for (const int top : tops) {
            m_candidateLayouts.push_back(
                ComputeGraphLayout(m_clientSize, top, WidestScaleLabel(*m_graphImage, top)));
        }
    }
    return m_candidateLayouts;
}

ResultDrawing::KeptPass ResultDrawing::KeepLocked(const PassCurve& pass, int run)
{
    const int passNumber = pass.passNumber;
    const int passCount = pass.passCount;
    const int sampleCount = pass.sampleCount;
    const double* samples = pass.samples;
    KeptPass kept {passNumber, passCount, pass.isWrite, run, sampleCount, {}, {}};
    const std::vector<GraphLayout>& layouts = CandidateLayoutsLocked();
    int widestSpan = 0;
    for (const GraphLayout& layout : layouts) {
        widestSpan = std::max(widestSpan, PassSpan(layout, passNumber, passCount));
    }
    // Up to a few samples a column the samples themselves are smaller.
    if (sampleCount <= 4 * (widestSpan + 1)) {
        kept.samples.assign(samples, samples + sampleCount);
        return kept;
    }
    for (const GraphLayout& layout : layouts) {
        auto atWidth = std::find_if(kept.reduced.begin(), kept.reduced.end(),
                                    [&](const ColumnsAtWidth& c) { return c.plotWidth == layout.plotWidth; });
        const int span = PassSpan(layout, passNumber, passCount);
        if (atWidth == kept.reduced.end()) {
            kept.reduced.push_back({layout.plotWidth, ReduceToColumns(samples, sampleCount, span), {}});
            atWidth = kept.reduced.end() - 1;
        }
        atWidth->lastReached.emplace_back(layout.scaleTop, LastSampleReached(layout, samples, sampleCount, span));
    }
    return kept;
}

void ResultDrawing::DrawSamplesLocked(const PassCurve& pass)
{
    if (!m_graphImage->Dimensions().IsEmpty()) {
        DrawPassCurve(*m_graphImage, m_graphLayout, pass, m_lastPoint);
    }
}

void ResultDrawing::DrawCurveLocked(const KeptPass& pass)
{
    if (m_graphImage->Dimensions().IsEmpty()) {
        return;
    }
    const PassCurve curve {pass.passNumber, pass.passCount, pass.samples.data(), pass.sampleCount, pass.isWrite,
                           pass.run};
    if (pass.reduced.empty()) {
        DrawSamplesLocked(curve);
        return;
    }
    // The columns of this plot width; a top set after the pass was kept may
    // have another width, then the nearest one is drawn.
    const int width = m_graphLayout.plotWidth;
    const ColumnsAtWidth* best = &pass.reduced.front();
    for (const ColumnsAtWidth& atWidth : pass.reduced) {
        if (std::abs(atWidth.plotWidth - width) < std::abs(best->plotWidth - width)) {
            best = &atWidth;
        }
    }
    bool lastReached = true;
    for (const auto& [top, reached] : best->lastReached) {
        if (top == m_graphLayout.scaleTop) {
            lastReached = reached;
        }
    }
    DrawColumnCurve(*m_graphImage, m_graphLayout, curve, best->columns.data(), static_cast<int>(best->columns.size()),
                    lastReached, m_lastPoint);
}

}  // namespace kel
