// Boxes the engine asks for from its worker thread: shown by the GUI thread,
// waited for until dismissed, and given up when the run is stopped.

#include "app/GuiMessageSink.h"
#include "tests/app/DialogFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

#include <future>
#include <thread>

namespace kel::test {
namespace {

QMessageBox* VisibleBox(const QString& text)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box != nullptr && box->isVisible() && box->text() == text) {
            return box;
        }
    }
    return nullptr;
}

class GuiMessageSinkTest : public ::testing::Test {
protected:
    // Shows text from a worker thread; the future is ready when the call returns.
    std::future<void> ShowFromWorker(const QString& text)
    {
        return std::async(std::launch::async, [this, text] {
            m_sink.ShowMessageBox(text.toStdString(), kErrorBox, &m_cancel);
        });
    }
    static bool Returned(const std::future<void>& call)
    {
        return call.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    }

    GuiMessageSink m_sink;
    std::atomic<std::int32_t> m_cancel {0};
};

TEST_F(GuiMessageSinkTest, WorkerWaitsUntilTheBoxIsDismissed)
{
    std::future<void> call = ShowFromWorker("Failed writing");
    ASSERT_TRUE(WaitUntil([] { return VisibleBox("Failed writing") != nullptr; }, 5000));
    EXPECT_EQ(VisibleBox("Failed writing")->icon(), QMessageBox::Critical);
    EXPECT_FALSE(WaitUntil([&call] { return Returned(call); }, 200));
    VisibleBox("Failed writing")->button(QMessageBox::Ok)->click();
    EXPECT_TRUE(WaitUntil([&call] { return Returned(call); }, 5000));
}

TEST_F(GuiMessageSinkTest, AStopEndsTheWaitWithoutTheGuiThreadAndClosesTheBox)
{
    std::future<void> call = ShowFromWorker("Failed reading");
    ASSERT_TRUE(WaitUntil([] { return VisibleBox("Failed reading") != nullptr; }, 5000));
    // The GUI thread is blocked as in a stop: it runs no events while it waits.
    m_cancel = 1;
    const bool returned = call.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!returned) {
        VisibleBox("Failed reading")->close();  // let the worker go before failing
    }
    ASSERT_TRUE(returned);
    EXPECT_TRUE(WaitUntil([] { return VisibleBox("Failed reading") == nullptr; }, 5000));
}

TEST_F(GuiMessageSinkTest, ABoxAskedForAfterTheStopIsNeverShown)
{
    m_cancel = 1;
    std::future<void> call = ShowFromWorker("Unable to open");
    ASSERT_EQ(call.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    WaitUntil([] { return false; }, 100);
    EXPECT_EQ(VisibleBox("Unable to open"), nullptr);
}

TEST_F(GuiMessageSinkTest, OnTheGuiThreadTheBoxIsShownWithoutWaiting)
{
    m_sink.ShowMessageBox("Warning: clock", kPlainBox, nullptr);
    QMessageBox* box = VisibleBox("Warning: clock");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    box->close();
}

}  // namespace
}  // namespace kel::test
