#include "platform/PlatformServices.h"

#include "platform/DriveTable.h"
#include "platform/MessageSink.h"

#include <cstdio>

namespace kel {

void StderrMessageSink::ShowMessageBox(const std::string& text, unsigned, const std::atomic<std::int32_t>*)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

PlatformServices ServicesOf(FileBackend& files, ClockSource& clock, ThreadFactory& threads)
{
    static StderrMessageSink messages;
    PlatformServices services;
    services.files = &files;
    services.clock = &clock;
    services.messages = &messages;
    services.threads = &threads;
    services.drives = &SystemDriveTable();
    return services;
}

}  // namespace kel
