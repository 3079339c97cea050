#pragma once
// The two images of the results view, a graph of every pass's sampled rates
// and a text summary of minimum, maximum and average, on two canvases of the
// toolkit's making, with everything needed to draw into them. Each finished
// pass is drawn into both as it arrives. Plain C++: ResultImages puts QImages
// behind it on Linux, the Windows view GDI bitmaps.
//
// The passes of the current run are kept (until the next run is configured
// or the size changes): a new scale redraws the graph from them, whether the
// user picks it or a fitted scale's top has to grow. A pass with more samples
// than its curve has columns is kept as its columns (CurveColumns.h) for each
// width the plot takes on the scales the graph can show, so what is kept does
// not grow with the samples and draws the same pixels as they did. While the
// results fit the default scale nothing is ever redrawn from them.
//
// Thread safety: AddPassResults may run on a worker thread while another
// thread reconfigures the images or copies one for display. One mutex
// serialises drawing a pass, drawing the images empty or anew and copying an
// image; each holds it only while it draws or copies.

#include "engine/PassStatistics.h"
#include "engine/RunObservers.h"
#include "view/Canvas.h"
#include "view/CurveColumns.h"
#include "view/GraphDrawing.h"
#include "view/GraphScale.h"
#include "view/TextDrawing.h"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kel {

// The pass drawn last: its number among the passes of its kind (0 when
// none has been drawn) and its kind.
struct DrawnPass {
    int passNumber = 0;
    bool isWrite = false;
};

class ResultDrawing : public PassResultSink {
public:
    // Makes a canvas of a size in device-independent pixels with as many more
    // image pixels as the ratio asks; an empty size may give one without an image.
    using CanvasMaker = std::function<std::unique_ptr<Canvas>(Size, double)>;

    // The images exist, drawn empty, from construction on, so a pass that
    // arrives before anything is shown is drawn like any other.
    ResultDrawing(Size clientSize, GraphScale scale, CanvasMaker makeCanvas);

    // Takes the run's counts, simultaneous flag and thresholds and draws both
    // images empty at once, so the run's first pass can never be drawn on a
    // stale image that is cleared later.
    void ConfigureRun(int readReps, int writeReps, int simultaneous, int minRead, int minWrite) override;
    void AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate,
                        int isWrite) override;
    // Below the section's values in the text image: its longest stall, the
    // buffer verdict and the cache cliff of its passes so far.
    void AddPassFigures(const PassFigures& figures) override;

    // A pass of another run (run 1 for the first other run, 2 for the next),
    // drawn beneath this run's passes in lighter shades, the later the run
    // the lighter. Its samples count for the fitted scale, not for the text.
    // Kept, unlike this run's passes, when the next run is configured.
    void AddComparedPass(int run, int passNumber, int passCount, const double* samples, int sampleCount,
                         bool isWrite);
    // Drops the other runs' passes and the names.
    void ClearCompared();
    // The names of the runs drawn (UTF-8), this run's first, for the legend;
    // none (the default) leaves the legend as it is.
    void SetRunNames(std::vector<std::string> names);

    // New empty images when the size or the pixel ratio changes; passes drawn
    // so far are lost. The size is in device-independent pixels; a ratio above
    // 1 (a screen at 150 % or 200 %) gives the images as many more pixels.
    void Resize(Size clientSize, double pixelRatio = 1.0);

    // A new scale redraws the graph image with the run's passes so far.
    void SetScale(const GraphScale& scale);
    GraphScale Scale() const;
    // MB/s at the top gridline now: the fixed top, or what the fitted
    // scale has reached (the default top before the run's first sample).
    int ScaleTop() const;
    // True while a fixed scale leaves samples above its top (the graph then
    // shows the mark at its top edge).
    bool HidesResults() const;

    // 1 when a pass has been drawn since the images were last drawn empty.
    int HasResults() const;
    DrawnPass LastPass() const;
    // What the text image shows, as lines of text: each section's heading
    // and its "Min:", "Max:" and "Avg:" lines, values where it has them.
    std::string ResultLines() const;

    // Calls use with the graph's (or the text's) canvas while no pass is
    // drawn into it, to read it out.
    template <typename Use>
    void WithCanvas(bool graph, Use use) const
    {
        const std::lock_guard guard(m_lock);
        use(graph ? *m_graphImage : *m_textImage);
    }

private:
    // A pass's columns at one plot width, and for each scale top of that
    // width whether its last column reaches its last sample.
    struct ColumnsAtWidth {
        int plotWidth;
        std::vector<CurveColumn> columns;
        std::vector<std::pair<int, bool>> lastReached;
    };
    struct KeptPass {
        int passNumber;
        int passCount;
        bool isWrite;
        int run;  // 0: this run's; else the compared run's number
        int sampleCount;
        std::vector<double> samples;  // all of them, or none when reduced
        std::vector<ColumnsAtWidth> reduced;
    };

    // The layouts of every scale top the graph may show at this size.
    const std::vector<GraphLayout>& CandidateLayoutsLocked();
    KeptPass KeepLocked(const PassCurve& pass, int run);

    // The top the scale calls for with the run's samples so far.
    int WantedTopLocked() const;
    void LayOutGraphLocked();
    void DrawBackgroundsLocked();
    // The empty graph and every kept pass on it, for a new top.
    void RedrawGraphLocked();
    void RedrawKeptLocked();
    void DrawCurveLocked(const KeptPass& pass);
    void DrawSamplesLocked(const PassCurve& pass);
    void DrawMarkLocked();

    mutable std::mutex m_lock;
    CanvasMaker m_makeCanvas;
    Size m_clientSize;
    double m_pixelRatio = 1.0;
    std::unique_ptr<Canvas> m_graphImage;
    std::unique_ptr<Canvas> m_textImage;
    GraphScale m_scale;
    GraphLayout m_graphLayout;
    TextLayout m_textLayout;
    int m_readReps = 0;
    int m_writeReps = 0;
    int m_simultaneous = 0;
    int m_minRead = 0;
    int m_minWrite = 0;
    Point m_lastPoint {-1, -1};
    PassStatistics m_statistics;
    std::vector<KeptPass> m_passes;
    std::vector<KeptPass> m_compared;
    double m_comparedFastest = 0.0;
    std::vector<std::string> m_runNames;
    std::vector<int> m_candidateTops;  // besides the fitted ones
    std::vector<GraphLayout> m_candidateLayouts;  // empty until needed
    double m_fastest = 0.0;  // fastest finite sample of the kept passes
    std::optional<SectionValues> m_playValues;
    std::optional<SectionValues> m_recordValues;
    KindFigures m_playFigures;
    KindFigures m_recordFigures;
    int m_hasResults = 0;
};

}  // namespace kel
