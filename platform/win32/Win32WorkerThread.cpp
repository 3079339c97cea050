#include "platform/win32/Win32Services.h"

#include "platform/win32/WinText.h"

#include <process.h>

namespace kel {

namespace {

class Win32WorkerThread : public WorkerThread {
public:
    ~Win32WorkerThread() override { Join(); }

    bool Create(Procedure procedure, void* argument) override
    {
        m_procedure = procedure;
        m_argument = argument;
        // _beginthreadex rather than CreateThread: the procedure uses the C runtime.
        const std::uintptr_t handle = _beginthreadex(nullptr, 0, &Entry, this, CREATE_SUSPENDED, nullptr);
        if (handle == 0) {
            if (GetLastError() == ERROR_SUCCESS) {
                SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            }
            return false;
        }
        m_thread.Reset(reinterpret_cast<HANDLE>(handle));
        return true;
    }

    void RaisePriority() override
    {
        if (m_thread.IsValid()) {
            SetThreadPriority(m_thread.Get(), THREAD_PRIORITY_TIME_CRITICAL);
        }
    }

    void Release() override
    {
        if (m_thread.IsValid() && !m_released) {
            m_released = true;
            ResumeThread(m_thread.Get());
        }
    }

    void Join() override
    {
        if (!m_thread.IsValid()) {
            return;
        }
        Release();  // a thread never resumed would stay suspended for ever
        WaitForSingleObject(m_thread.Get(), INFINITE);
        m_thread.Reset();
    }

private:
    static unsigned __stdcall Entry(void* self)
    {
        auto* thread = static_cast<Win32WorkerThread*>(self);
        thread->m_procedure(thread->m_argument);
        return 0;
    }

    Procedure m_procedure = nullptr;
    void* m_argument = nullptr;
    ScopedHandle m_thread;
    bool m_released = false;
};

}  // namespace

std::unique_ptr<WorkerThread> Win32ThreadFactory::NewThread()
{
    return std::make_unique<Win32WorkerThread>();
}

}  // namespace kel
