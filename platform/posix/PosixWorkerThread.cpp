#include "platform/posix/PosixServices.h"

#include <cerrno>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>

namespace kel {

namespace {

class PosixWorkerThread : public WorkerThread {
public:
    ~PosixWorkerThread() override { Join(); }

    bool Create(Procedure procedure, void* argument) override
    {
        m_procedure = procedure;
        m_argument = argument;
        const int error = pthread_create(&m_thread, nullptr, &Entry, this);
        if (error != 0) {
            errno = error;
            return false;
        }
        m_created = true;
        return true;
    }

    void RaisePriority() override
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_tid != 0; });
        // The highest priority of the normal class that the system grants:
        // nice -20 when allowed, else the lowest nice value permitted.
        for (int nice = -20; nice < 0; ++nice) {
            if (setpriority(PRIO_PROCESS, static_cast<id_t>(m_tid), nice) == 0) {
                return;
            }
        }
    }

    void Release() override
    {
        std::lock_guard lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }

    void Join() override
    {
        if (!m_created) {
            return;
        }
        Release();  // a thread never released would wait at its gate for ever
        pthread_join(m_thread, nullptr);
        m_created = false;
    }

private:
    static void* Entry(void* self)
    {
        auto* thread = static_cast<PosixWorkerThread*>(self);
        {
            std::unique_lock lock(thread->m_mutex);
            thread->m_tid = static_cast<pid_t>(syscall(SYS_gettid));
            thread->m_changed.notify_all();
            thread->m_changed.wait(lock, [thread] { return thread->m_released; });
        }
        thread->m_procedure(thread->m_argument);
        return nullptr;
    }

    Procedure m_procedure = nullptr;
    void* m_argument = nullptr;
    pthread_t m_thread {};
    bool m_created = false;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    pid_t m_tid = 0;
    bool m_released = false;
};

}  // namespace

std::unique_ptr<WorkerThread> PosixThreadFactory::NewThread()
{
    return std::make_unique<PosixWorkerThread>();
}

}  // namespace kel
