#include "engine/RunOutcome.h"

namespace kel {

const char* RunResultName(RunResult result)
{
    switch (result) {
    case RunResult::Complete:
        return "complete";
    case RunResult::Stopped:
        return "stopped";
    case RunResult::Failed:
        return "failed";
    }
    return "failed";
}

const char* FailureKindName(FailureKind kind)
{
    switch (kind) {
    case FailureKind::None:
        return "none";
    case FailureKind::Create:
        return "create";
    case FailureKind::Open:
        return "open";
    case FailureKind::Write:
        return "write";
    case FailureKind::Read:
        return "read";
    case FailureKind::Close:
        return "close";
    case FailureKind::Delete:
        return "delete";
    case FailureKind::FolderInUse:
        return "folder in use";
    case FailureKind::Timing:
        return "timing";
    case FailureKind::Memory:
        return "memory";
    case FailureKind::Thread:
        return "thread";
    case FailureKind::DriveCheck:
        return "drive check";
    case FailureKind::Verify:
        return "verify";
    }
    return "none";
}

const char* FileAccessName(FileAccess access)
{
    switch (access) {
    case FileAccess::None:
        return "none";
    case FileAccess::Direct:
        return "direct";
    case FileAccess::SyncBuffered:
        return "synchronous buffered";
    case FileAccess::Mixed:
        return "mixed";
    }
    return "none";
}

FileAccess CombineFileAccess(FileAccess seen, bool direct)
{
    const FileAccess now = direct ? FileAccess::Direct : FileAccess::SyncBuffered;
    return seen == FileAccess::None || seen == now ? now : FileAccess::Mixed;
}

}  // namespace kel
