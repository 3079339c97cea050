#pragma once
// A thread that is created held at a start gate, so that its priority can be
// raised before it runs any of its work.

#include <memory>

namespace kel {

class WorkerThread {
public:
    using Procedure = void (*)(void* argument);

    virtual ~WorkerThread() = default;
    // Creates the thread, held. False (with the last system error set) when the
    // system refuses.
    virtual bool Create(Procedure procedure, void* argument) = 0;
    // Raises the held thread's priority as far as the system allows; a refusal
    // keeps the priority it has.
    virtual void RaisePriority() = 0;
    // Lets the held thread run its procedure.
    virtual void Release() = 0;
    // Waits for a created thread to end.
    virtual void Join() = 0;
};

class ThreadFactory {
public:
    virtual ~ThreadFactory() = default;
    virtual std::unique_ptr<WorkerThread> NewThread() = 0;
};

}  // namespace kel
