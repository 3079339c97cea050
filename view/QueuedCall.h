#pragma once
// Calls and events that a worker hands to the GUI thread through Qt's event
// queue.
//
// Posting takes a lock inside Qt that ThreadSanitizer cannot see (Debian's Qt
// is not built with it), so an object made on a worker and used on the GUI
// thread would look like a race. MarkPosted and MarkReceived stand for that
// lock: what a thread did before it posted happens before what the receiver
// does once it has taken a call or event from the queue. In other builds they
// do nothing.

#include <QMetaObject>
#include <QObject>

#include <utility>

#if defined(__SANITIZE_THREAD__)
#define KELT_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define KELT_THREAD_SANITIZER 1
#endif
#endif

#if defined(KELT_THREAD_SANITIZER)
#include <sanitizer/tsan_interface.h>
#endif

namespace kel {

namespace queued_call_detail {
inline char eventQueueLock;  // only its address is used
}  // namespace queued_call_detail

// On the posting thread, once the posted object is complete.
inline void MarkPosted()
{
#if defined(KELT_THREAD_SANITIZER)
    __tsan_release(&queued_call_detail::eventQueueLock);
#endif
}

// On the receiving thread, before it uses a posted object.
inline void MarkReceived()
{
#if defined(KELT_THREAD_SANITIZER)
    __tsan_acquire(&queued_call_detail::eventQueueLock);
#endif
}

// Runs function on context's thread when its event loop gets to it, from any
// thread. The call is dropped, never run, if context is destroyed first.
template <class Function>
void InvokeQueued(QObject* context, Function function)
{
    // Qt moves the call into the object it queues: each move marks the post
    // anew, so the last one covers the queued copy, the only one destroyed
    // on the receiving thread.
    class Call {
    public:
        explicit Call(Function f) : m_function(std::move(f)) {}
        Call(Call&& other) noexcept : m_function(std::move(other.m_function)), m_queued(true)
        {
            other.m_queued = false;
            MarkPosted();
        }
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;
        Call& operator=(Call&&) = delete;
        ~Call()
        {
            if (m_queued) {
                MarkReceived();
            }
        }
        void operator()()
        {
            MarkReceived();
            m_function();
        }

    private:
        Function m_function;
        bool m_queued = false;
    };
    QMetaObject::invokeMethod(context, Call(std::move(function)), Qt::QueuedConnection);
}

}  // namespace kel
