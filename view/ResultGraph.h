#pragma once
// The results view control: shows the graph or the text image of the current
// run. Passes arrive on the tester's worker thread and are drawn into the
// images there; the control's own thread only copies one image to the screen.
// For screen readers the control's accessible description holds what the
// text image shows.

#include "engine/RunObservers.h"
#include "view/GraphScale.h"
#include "view/ResultImages.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <vector>


namespace kel {

class ResultGraph : public QWidget, public PassResultSink {
    Q_OBJECT
public:
    explicit ResultGraph(QWidget* parent = nullptr);
    ~ResultGraph() override;

    // On the control's thread (the tester takes a run's parameters there).
    void ConfigureRun(int readReps, int writeReps, int simultaneous, int minRead, int minWrite) override;
    // Safe on any thread; the repaint is requested through the event queue.
    void AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate,
                        int isWrite) override;
    // Another run's pass beneath this run's, its names in the legend
    // (ResultImages).
    void AddComparedPass(int run, int passNumber, int passCount, const double* samples, int sampleCount,
                         bool isWrite);
    void ClearCompared();
    void SetRunNames(std::vector<QString> names);
    // Safe on any thread: the text image's figure lines, then a repaint.
    void AddPassFigures(const PassFigures& figures) override;
    // Nonzero shows the graph, 0 the text; both images are always up to date.
    void SetDisplayMode(int showGraph);
    // Redraws the graph with the run's passes on the new scale.
    void SetScale(const GraphScale& scale);
    GraphScale Scale() const;
    bool HidesResults() const;  // a fixed scale leaves samples above its top
    int HasResults() const;
    DrawnPass LastPass() const;
    QString ResultsText() const;
    QImage GraphImage() const;  // copies, for tests and screenshots
    QImage TextImage() const;

signals:
    // On the control's thread, once per pass drawn, after the repaint has
    // been asked for and the description updated.
    void PassDrawn();

protected:
    void paintEvent(QPaintEvent* event) override;    // OnPaint: copies one image
    void resizeEvent(QResizeEvent* event) override;  // images follow the client size

private:
    // update() belongs to the widget's thread; this may be called from any.
    void RequestRepaint();
    void OnPassDrawn();
    void UpdateDescription();

    ResultImages m_images;
    int m_showGraph = 1;  // GUI thread only
};

}  // namespace kel
