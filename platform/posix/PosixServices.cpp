#include "platform/PlatformServices.h"
#include "platform/posix/PosixFileBackend.h"
#include "platform/posix/PosixServices.h"

namespace kel {

PlatformServices DefaultPlatformServices()
{
    static PosixFileBackend files;
    static PosixClock clock;
    static PosixThreadFactory threads;
    return ServicesOf(files, clock, threads);
}

}  // namespace kel
