#include "app/GuiMessageSink.h"

#include "app/MessagePresenter.h"
#include "view/QueuedCall.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QThread>
#include <QWidget>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace kel {

namespace {

// What the worker and the GUI thread share about one box.
struct PendingBox {
    std::mutex mutex;
    std::condition_variable dismissedSignal;
    bool dismissed = false;
    bool abandoned = false;       // the worker stopped waiting
    QPointer<QMessageBox> box;    // GUI thread only
};

constexpr std::chrono::milliseconds kCancelPoll {20};

bool Cancelled(const std::atomic<std::int32_t>* cancel)
{
    return cancel != nullptr && cancel->load(std::memory_order_acquire) != 0;
}

}  // namespace

void GuiMessageSink::SetParentWindow(QWidget* parent)
{
    m_parent = parent;
}

void GuiMessageSink::ShowMessageBox(const std::string& text, unsigned type, const std::atomic<std::int32_t>* cancel)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() == app->thread()) {
        ShowMessage(m_parent, QString::fromStdString(text), type);
        return;
    }

    // The text crosses as a plain string: the box's QString is made, shared
    // and freed on the GUI thread alone.
    auto pending = std::make_shared<PendingBox>();
    QPointer<QWidget> parent = m_parent;
    InvokeQueued(
        app,
        [pending, parent, text, type] {
            {
                std::lock_guard lock(pending->mutex);
                if (pending->abandoned) {
                    return;  // the run was stopped before the box came up
                }
            }
            pending->box = ShowMessage(parent, QString::fromStdString(text), type, [pending] {
                std::lock_guard lock(pending->mutex);
                pending->dismissed = true;
                pending->dismissedSignal.notify_all();
            });
        });

    std::unique_lock lock(pending->mutex);
    while (!pending->dismissed) {
        if (Cancelled(cancel)) {
            pending->abandoned = true;
            lock.unlock();
            // The GUI thread is waiting for the run's end; it closes the box
            // once it runs its events again.
            InvokeQueued(app, [pending] {
                if (pending->box) {
                    pending->box->close();
                }
            });
            return;
        }
        pending->dismissedSignal.wait_for(lock, kCancelPoll);
    }
}

}  // namespace kel
