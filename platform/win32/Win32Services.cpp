#include "platform/PlatformServices.h"
#include "platform/win32/Win32FileBackend.h"
#include "platform/win32/Win32Services.h"

namespace kel {

PlatformServices DefaultPlatformServices()
{
    static Win32FileBackend files;
    static Win32Clock clock;
    static Win32ThreadFactory threads;
    return ServicesOf(files, clock, threads);
}

}  // namespace kel
