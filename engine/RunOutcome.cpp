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
