#pragma once
// The two images of the results view, a graph of every pass's sampled rates
// and a text summary of minimum, maximum and average, on two canvases of the
// toolkit's making, with everything needed to draw into them. Each finished
// pass is drawn into both as it arrives. Plain C++: ResultImages puts QImages
// behind it on Linux, the Windows view GDI bitmaps.
//
// The passes of the current run are kept (their samples, until the next run
// is configured or the size changes): a new scale redraws the graph from
// them, whether the user picks it or a fitted scale's top has to grow. While
// the results fit the default scale nothing is ever redrawn from them.
//
// Thread safety: AddPassResults may run on a worker thread while another
// thread reconfigures the images or copies one for display. One mutex
// serialises drawing a pass, drawing the images empty or anew and copying an
// image; each holds it only while it draws or copies.

#include "engine/PassStatistics.h"
#include "engine/RunObservers.h"
#include "view/Canvas.h"
#include "view/GraphDrawing.h"
#include "view/GraphScale.h"
#include "view/TextDrawing.h"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
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
    // Makes a canvas of a size; an empty size may give one without an image.
    using CanvasMaker = std::function<std::unique_ptr<Canvas>(Size)>;

    // The images exist, drawn empty, from construction on, so a pass that
    // arrives before anything is shown is drawn like any other.
    ResultDrawing(Size clientSize, GraphScale scale, CanvasMaker makeCanvas);

    // Takes the run's counts, simultaneous flag and thresholds and draws both
    // images empty at once, so the run's first pass can never be drawn on a
    // stale image that is cleared later.
    void ConfigureRun(int readReps, int writeReps, int simultaneous, int minRead, int minWrite) override;
    void AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate,
                        int isWrite) override;

    // New empty images when the size changes; passes drawn so far are lost.
    void Resize(Size clientSize);

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
    struct KeptPass {
        int passNumber;
        bool isWrite;
        std::vector<double> samples;
    };

    // The top the scale calls for with the run's samples so far.
    int WantedTopLocked() const;
    void LayOutGraphLocked();
    void DrawBackgroundsLocked();
    // The empty graph and every kept pass on it, for a new top.
    void RedrawGraphLocked();
    void DrawCurveLocked(const KeptPass& pass);
    void DrawMarkLocked();

    mutable std::mutex m_lock;
    CanvasMaker m_makeCanvas;
    Size m_clientSize;
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
    double m_fastest = 0.0;  // fastest finite sample of the kept passes
    std::optional<SectionValues> m_playValues;
    std::optional<SectionValues> m_recordValues;
    int m_hasResults = 0;
};

}  // namespace kel
