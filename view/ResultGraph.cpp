#include "view/ResultGraph.h"

#include "view/DrawingObjects.h"
#include "view/QueuedCall.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

namespace kel {

ResultGraph::ResultGraph(QWidget* parent) : QWidget(parent), m_images(size())
{
    // Every pixel comes from an image: nothing for Qt to clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Results"));
    UpdateDescription();
}

// The owner stops any run before destroying the control, so no pass can be
// drawing when the images go.
ResultGraph::~ResultGraph() = default;

void ResultGraph::ConfigureRun(int readReps, int writeReps, int simultaneous, int minRead, int minWrite)
{
    // A hidden control gets its resize event only when shown; the run is laid
    // out for the size it has now.
    m_images.Resize(size(), devicePixelRatioF());
    m_images.ConfigureRun(readReps, writeReps, simultaneous, minRead, minWrite);
    UpdateDescription();
    RequestRepaint();
}

void ResultGraph::AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate,
                                 int isWrite)
{
    m_images.AddPassResults(passNumber, samples, sampleCount, passRate, isWrite);
    // A queued call with this as context is dropped if the control is gone
    // by the time the event loop gets to it.
    InvokeQueued(this, [this] { OnPassDrawn(); });
}

void ResultGraph::AddComparedPass(int run, int passNumber, int passCount, const double* samples, int sampleCount,
                                  bool isWrite)
{
    m_images.AddComparedPass(run, passNumber, passCount, samples, sampleCount, isWrite);
    RequestRepaint();
}

void ResultGraph::ClearCompared()
{
    m_images.ClearCompared();
    RequestRepaint();
}

void ResultGraph::SetRunNames(std::vector<QString> names)
{
    m_images.SetRunNames(std::move(names));
    RequestRepaint();
}

void ResultGraph::AddPassFigures(const PassFigures& figures)
{
    m_images.AddPassFigures(figures);
    InvokeQueued(this, [this] {
        update();
        UpdateDescription();
    });
}

void ResultGraph::SetDisplayMode(int showGraph)
{
    m_showGraph = showGraph;
    RequestRepaint();
}

void ResultGraph::SetScale(const GraphScale& scale)
{
    m_images.SetScale(scale);
    RequestRepaint();
}

GraphScale ResultGraph::Scale() const
{
    return m_images.Scale();
}

bool ResultGraph::HidesResults() const
{
    return m_images.HidesResults();
}

int ResultGraph::HasResults() const
{
    return m_images.HasResults();
}

DrawnPass ResultGraph::LastPass() const
{
    return m_images.LastPass();
}

QString ResultGraph::ResultsText() const
{
    return m_images.ResultsText();
}

QImage ResultGraph::GraphImage() const
{
    return m_images.GraphImage();
}

QImage ResultGraph::TextImage() const
{
    return m_images.TextImage();
}

void ResultGraph::paintEvent(QPaintEvent* /*event*/)
{
    const QImage shown = m_showGraph != 0 ? m_images.GraphImage() : m_images.TextImage();
    QPainter painter(this);
    if (shown.isNull()) {
        // No images (an empty or impossible size): show the plain background.
        painter.fillRect(rect(), QColor(kBackColour));
        return;
    }
    painter.drawImage(0, 0, shown);
}

void ResultGraph::resizeEvent(QResizeEvent* event)
{
    m_images.Resize(event->size(), devicePixelRatioF());
    UpdateDescription();
    QWidget::resizeEvent(event);
}

void ResultGraph::RequestRepaint()
{
    InvokeQueued(this, [this] { update(); });
}

void ResultGraph::OnPassDrawn()
{
    update();
    UpdateDescription();
    emit PassDrawn();
}

void ResultGraph::UpdateDescription()
{
    setAccessibleDescription(m_images.ResultsText());
}

}  // namespace kel
