#pragma once
// The two images of the results view, a graph of every pass's sampled rates
// and a text summary of minimum, maximum and average, with everything needed
// to draw into them. Each finished pass is drawn into both as it arrives;
// nothing is kept of the samples. Usable without any widget (a
// QGuiApplication is enough), e.g. to write the images to files.
//
// Thread safety: AddPassResults may run on a worker thread while another
// thread reconfigures the images or copies one for display. One mutex
// serialises drawing a pass, drawing the images empty and copying an image;
// each holds it only while it draws or copies.

#include "engine/PassStatistics.h"
#include "engine/RunObservers.h"
#include "view/DrawingObjects.h"
#include "view/GraphDrawing.h"
#include "view/TextDrawing.h"

#include <QImage>
#include <QPoint>
#include <QSize>

#include <mutex>

namespace kel {

class ResultImages : public PassResultSink {
public:
    // The images exist, drawn empty, from construction on, so a pass that
    // arrives before anything is shown is drawn like any other.
    explicit ResultImages(QSize clientSize);

    // Takes the run's counts, simultaneous flag and thresholds and draws both
    // images empty at once, so the run's first pass can never be drawn on a
    // stale image that is cleared later.
    void ConfigureRun(int readReps, int writeReps, int simultaneous, int minRead, int minWrite) override;
    void AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate,
                        int isWrite) override;

    // New empty images when the size changes; passes drawn so far are lost.
    void Resize(QSize clientSize);

    // 1 when a pass has been drawn since the images were last drawn empty.
    int HasResults() const;
    // Deep copies, safe to use on any thread while passes keep arriving. Null
    // images when the size is empty or the images could not be made.
    QImage GraphImage() const;
    QImage TextImage() const;

private:
    void DrawBackgroundsLocked();

    mutable std::mutex m_lock;
    const DrawingObjects m_objects;
    QSize m_clientSize;
    QImage m_graphImage;
    QImage m_textImage;
    GraphLayout m_graphLayout;
    TextLayout m_textLayout;
    int m_readReps = 0;
    int m_writeReps = 0;
    int m_simultaneous = 0;
    int m_minRead = 0;
    int m_minWrite = 0;
    QPoint m_lastPoint {-1, -1};
    PassStatistics m_statistics;
    int m_hasResults = 0;
};

}  // namespace kel
