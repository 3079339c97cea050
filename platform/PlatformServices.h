#pragma once
// The operating-system services the engine runs on, gathered in one place so
// that tests can replace any of them, and the clock among them.

#include <cstdint>

namespace kel {

// The clocks the engine can time with: a high-resolution counter when the
// system has one, and a millisecond count since system start otherwise.
class ClockSource {
public:
    virtual ~ClockSource() = default;
    // Counter frequency in ticks per second; false when there is no
    // high-resolution counter (ticksPerSec is then left alone).
    virtual bool QueryFrequency(std::uint64_t& ticksPerSec) = 0;
    virtual std::uint64_t QueryCounter() = 0;
    // Milliseconds since system start; wraps after 2^32 ms.
    virtual std::uint32_t TickCount() = 0;
};

class FileBackend;
class MessageSink;
class ThreadFactory;
class DriveTable;

struct PlatformServices {
    FileBackend* files = nullptr;
    ClockSource* clock = nullptr;
    MessageSink* messages = nullptr;
    ThreadFactory* threads = nullptr;
    const DriveTable* drives = nullptr;
};

// The services of a back-end: these, standard error for message boxes and
// the program's drive table.
PlatformServices ServicesOf(FileBackend& files, ClockSource& clock, ThreadFactory& threads);

// This system's services: unbuffered files, the high-resolution clock, worker
// threads, the program's drive table, and message boxes on standard error.
PlatformServices DefaultPlatformServices();

}  // namespace kel
