#include "platform/DriveTable.h"
#include "platform/MessageSink.h"
#include "platform/PlatformServices.h"
#include "platform/win32/Win32FileBackend.h"
#include "platform/win32/Win32Services.h"

#include <cstdio>

namespace kel {

void StderrMessageSink::ShowMessageBox(const std::string& text, unsigned, const std::atomic<std::int32_t>*)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

PlatformServices DefaultPlatformServices()
{
    static Win32FileBackend files;
    static Win32Clock clock;
    static StderrMessageSink messages;
    static Win32ThreadFactory threads;
    PlatformServices services;
    services.files = &files;
    services.clock = &clock;
    services.messages = &messages;
    services.threads = &threads;
    services.drives = &SystemDriveTable();
    return services;
}

}  // namespace kel
