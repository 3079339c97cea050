#pragma once

#include "platform/WorkerThread.h"

namespace kel {

// Threads created suspended and raised to THREAD_PRIORITY_TIME_CRITICAL
// before they are resumed.
class Win32ThreadFactory : public ThreadFactory {
public:
    std::unique_ptr<WorkerThread> NewThread() override;
};

}  // namespace kel
