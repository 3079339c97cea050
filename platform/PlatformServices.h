#pragma once
// The operating-system services the engine runs on, gathered in one place so
// that tests can replace any of them.

namespace kel {

class FileBackend;
class ClockSource;
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

// This system's services: unbuffered files, the high-resolution clock, worker
// threads, the program's drive table, and message boxes on standard error.
PlatformServices DefaultPlatformServices();

}  // namespace kel
