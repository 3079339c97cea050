#pragma once
// This system's clock and worker threads around a given file back-end, with
// the message boxes captured and a drive table of the test's own.

#include "platform/DriveTable.h"
#include "platform/PlatformServices.h"
#include "platform/posix/PosixServices.h"
#include "tests/support/EngineDoubles.h"
#include "tests/support/TrackedThreads.h"

namespace kel::test {

struct RealServices {
    explicit RealServices(FileBackend& files) : services {&files, &clock, &messages, &threads, &drives} {}

    PosixClock clock;
    CapturingMessageSink messages;
    TrackedThreads threads;
    DriveTable drives;
    PlatformServices services;
};

}  // namespace kel::test
