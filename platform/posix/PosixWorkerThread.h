#pragma once

#include "platform/WorkerThread.h"

namespace kel {

class PosixThreadFactory : public ThreadFactory {
public:
    std::unique_ptr<WorkerThread> NewThread() override;
};

}  // namespace kel
