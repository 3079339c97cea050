#pragma once
// This system's worker threads, counted until their procedure returns. A
// worker tells the dialog that a run has finished just after it clears the
// running flag, so a test that reads what the dialog was told waits for the
// worker's return, not only for the flag.

#include "platform/PlatformServices.h"
#include "platform/WorkerThread.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace kel::test {

// Polls done() every millisecond; false if it does not hold within limit.
template <class Done>
bool PollUntil(Done done, std::chrono::seconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class TrackedThreads : public ThreadFactory {
public:
    std::unique_ptr<WorkerThread> NewThread() override
    {
        return std::make_unique<Tracked>(DefaultPlatformServices().threads->NewThread(), m_running);
    }

    // False if a worker still runs when the time is up.
    bool WaitUntilEnded(std::chrono::seconds limit = std::chrono::seconds(30)) const
    {
        return PollUntil([this] { return m_running.load() == 0; }, limit);
    }

private:
    class Tracked : public WorkerThread {
    public:
        Tracked(std::unique_ptr<WorkerThread> thread, std::atomic<int>& running)
            : m_thread(std::move(thread)), m_running(running)
        {
        }
        bool Create(Procedure procedure, void* argument) override
        {
            m_procedure = procedure;
            m_argument = argument;
            ++m_running;
            if (!m_thread->Create(&Tracked::Entry, this)) {
                --m_running;
                return false;
            }
            return true;
        }
        void RaisePriority() override { m_thread->RaisePriority(); }
        void Release() override { m_thread->Release(); }
        void Join() override { m_thread->Join(); }

    private:
        static void Entry(void* self)
        {
            auto* tracked = static_cast<Tracked*>(self);
            tracked->m_procedure(tracked->m_argument);
            --tracked->m_running;
        }

        std::unique_ptr<WorkerThread> m_thread;
        std::atomic<int>& m_running;
        Procedure m_procedure = nullptr;
        void* m_argument = nullptr;
    };

    std::atomic<int> m_running {0};
};

}  // namespace kel::test
