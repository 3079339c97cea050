#include "platform/DriveTable.h"
#include "platform/MessageSink.h"
#include "platform/PlatformServices.h"
#include "platform/posix/PosixFileBackend.h"
#include "platform/posix/PosixServices.h"

#include <cstdio>

namespace kel {

void StderrMessageSink::ShowMessageBox(const std::string& text, unsigned, const std::atomic<std::int32_t>*)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

PlatformServices DefaultPlatformServices()
{
    static PosixFileBackend files;
    static PosixClock clock;
    static StderrMessageSink messages;
    static PosixThreadFactory threads;
    PlatformServices services;
    services.files = &files;
    services.clock = &clock;
    services.messages = &messages;
    services.threads = &threads;
    services.drives = &SystemDriveTable();
    return services;
}

}  // namespace kel
