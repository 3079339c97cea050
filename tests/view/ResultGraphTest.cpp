#include "view/ResultGraph.h"

#include "ViewTestSupport.h"

#include <QApplication>
#include <QPixmap>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace kel::test {
namespace {

QImage OnScreen(ResultGraph& graph)
{
    return graph.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

std::unique_ptr<ResultGraph> MakeControl()
{
    auto graph = std::make_unique<ResultGraph>();
    graph->setFixedSize(kClient);
    return graph;
}

// The samples of pass `a`: a ramp whose height depends on the pass, so a pass
// drawn twice, lost or out of order changes the picture.
std::vector<double> SamplesOf(int a, int isWrite)
{
    std::vector<double> samples;
    for (int k = 0; k < 6; ++k) {
        samples.push_back(1.0 + a * 0.7 + k * 0.5 + isWrite * 3.0);
    }
    return samples;
}

void FeedRun(PassResultSink& sink, int reps)
{
    for (int isWrite : {1, 0}) {
        for (int a = 1; a <= reps; ++a) {
            const std::vector<double> samples = SamplesOf(a, isWrite);
            AddPass(sink, a, samples, samples[2], isWrite);
        }
    }
}

TEST(ResultGraphControl, PaintShowsTheChosenImage)
{
    auto graph = MakeControl();
    graph->ConfigureRun(2, 2, 0, 3500, 0);
    ASSERT_EQ(graph->GraphImage().size(), kClient) << "the run is laid out for the control's size";
    EXPECT_EQ(graph->HasResults(), 0);
    EXPECT_EQ(OnScreen(*graph), graph->GraphImage());
    graph->SetDisplayMode(0);
    EXPECT_EQ(OnScreen(*graph), graph->TextImage());
    EXPECT_NE(graph->TextImage(), graph->GraphImage());
    graph->SetDisplayMode(1);
    EXPECT_EQ(OnScreen(*graph), graph->GraphImage());
}

TEST(ResultGraphControl, PassesArriveOnAWorkerAndAreShownAfterTheQueuedRepaint)
{
    auto graph = MakeControl();
    graph->show();
    QApplication::processEvents();
    graph->ConfigureRun(3, 3, 0, 0, 0);
    const QImage empty = graph->GraphImage();
    std::thread worker([&] { FeedRun(*graph, 3); });
    worker.join();
    EXPECT_EQ(graph->HasResults(), 1);
    QApplication::processEvents();
    EXPECT_NE(graph->GraphImage(), empty);
    EXPECT_EQ(OnScreen(*graph), graph->GraphImage());

    // A new run starts from empty images; the passes before are gone.
    graph->ConfigureRun(3, 3, 0, 0, 0);
    EXPECT_EQ(graph->HasResults(), 0);
    EXPECT_EQ(graph->GraphImage(), empty);
}

// Screen readers read the text view's values from the control's description;
// each pass drawn updates it and tells the owner on the control's thread.
TEST(ResultGraphControl, EachPassUpdatesTheDescriptionAndIsAnnounced)
{
    auto graph = MakeControl();
    graph->ConfigureRun(2, 2, 0, 0, 0);
    EXPECT_EQ(graph->accessibleName(), "Results");
    EXPECT_EQ(graph->accessibleDescription(), graph->ResultsText());
    std::vector<DrawnPass> announced;
    QObject::connect(graph.get(), &ResultGraph::PassDrawn, [&] { announced.push_back(graph->LastPass()); });
    std::thread worker([&] { AddPass(*graph, 1, {4.0, 6.0}, 5.0, 1); });
    worker.join();
    EXPECT_TRUE(announced.empty()) << "announced on the control's thread, not the worker's";
    QApplication::processEvents();
    ASSERT_EQ(announced.size(), 1u);
    EXPECT_EQ(announced[0].passNumber, 1);
    EXPECT_TRUE(announced[0].isWrite);
    EXPECT_TRUE(graph->accessibleDescription().contains("Record Performance:\nMin:  4.000 MB/s\nMax:  6.000 MB/s"))
        << graph->accessibleDescription().toStdString();
    graph->ConfigureRun(2, 2, 0, 0, 0);
    EXPECT_FALSE(graph->accessibleDescription().contains("MB/s"));
}

TEST(ResultGraphControl, APassBeforeTheFirstPaintIsKept)
{
    auto graph = MakeControl();
    graph->ConfigureRun(1, 1, 0, 0, 0);
    const double sample = 10.0;
    graph->AddPassResults(1, &sample, 1, 10.0, 0);
    graph->show();
    QApplication::processEvents();
    EXPECT_EQ(Pixel(OnScreen(*graph), 200, 151), Rgb(0, 0, 255));
}

TEST(ResultGraphControl, ImagesFollowTheClientSize)
{
    ResultGraph graph;
    graph.resize(300, 200);
    graph.show();
    QApplication::processEvents();
    EXPECT_EQ(graph.GraphImage().size(), QSize(300, 200));
    EXPECT_EQ(OnScreen(graph).size(), QSize(300, 200));
}

// Counts the queued calls that the event loop delivers on the GUI thread.
class QueuedCallCounter : public QObject {
public:
    QueuedCallCounter() { QCoreApplication::instance()->installEventFilter(this); }
    ~QueuedCallCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
    int Count() const { return m_count; }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        m_count += event->type() == QEvent::MetaCall ? 1 : 0;
        return false;
    }

private:
    int m_count = 0;
};

// A worker's passes queue repaints; they reach a control that is still there
// and are dropped with one destroyed before the event loop got to them (a
// delivered one would update a freed widget).
TEST(ResultGraphControl, AQueuedRepaintForAGoneControlIsDropped)
{
    for (const bool destroyed : {false, true}) {
        QApplication::processEvents();
        auto graph = MakeControl();
        graph->ConfigureRun(1, 1, 0, 0, 0);
        std::thread worker([&] { FeedRun(*graph, 1); });
        worker.join();
        const QueuedCallCounter delivered;
        if (destroyed) {
            graph.reset();
        }
        QApplication::processEvents();
        if (destroyed) {
            EXPECT_EQ(delivered.Count(), 0);
        } else {
            EXPECT_EQ(delivered.Count(), 3) << "one repaint for the run's start and one per pass";
        }
    }
}

// The worker draws passes while the GUI thread paints and switches modes;
// at the end nothing is lost or drawn twice: the images equal those of the
// same passes drawn without interference.
TEST(ResultGraphThreads, PaintingAndSwitchingDuringARunLosesNoPass)
{
    constexpr int kReps = 300;
    auto graph = MakeControl();
    graph->show();
    QApplication::processEvents();
    graph->ConfigureRun(kReps, kReps, 0, 2500, 4000);

    std::atomic<bool> done {false};
    std::thread worker([&] {
        FeedRun(*graph, kReps);
        done = true;
    });
    int mode = 0;
    int paints = 0;
    while (!done || paints < 4) {
        graph->SetDisplayMode(mode);
        mode = 1 - mode;
        const QImage shown = OnScreen(*graph);
        EXPECT_EQ(shown.size(), kClient);
        QApplication::processEvents();
        ++paints;
    }
    worker.join();
    QApplication::processEvents();

    ResultImages reference(kClient);
    reference.ConfigureRun(kReps, kReps, 0, 2500, 4000);
    FeedRun(reference, kReps);
    EXPECT_EQ(graph->GraphImage(), reference.GraphImage());
    EXPECT_EQ(graph->TextImage(), reference.TextImage());
    graph->SetDisplayMode(0);
    EXPECT_EQ(OnScreen(*graph), reference.TextImage());
}

}  // namespace
}  // namespace kel::test
