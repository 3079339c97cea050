#pragma once
// How a run ended, as the engine tells it with the end of the run. Message
// boxes are for the user to read; callers decide from this.

#include "engine/PassFigures.h"

#include <string>
#include <vector>

namespace kel {

// How the run's test files were reached: with direct I/O, or buffered with
// synchronous writes and dropped pages where direct I/O was refused.
enum class FileAccess {
    None,          // no test file was opened
    Direct,
    SyncBuffered,
    Mixed,         // some files one way, some the other
};

enum class RunResult {
    Complete,  // every pass ran and the files were deleted
    Stopped,   // a stop was requested; what was made has been deleted
    Failed,    // the first failure ended the run
};

// What failed, for callers that decide by it (the record, exit codes): set
// where the failure is reported, None for a run that did not fail.
enum class FailureKind {
    None,
    Create,       // a test file could not be created (or the folder not opened for it)
    Open,         // a test file could not be opened for a read pass
    Write,
    Read,
    Close,
    Delete,
    FolderInUse,  // another run holds the test folder
    Timing,       // the sample or pass interval was too small to measure
    Memory,       // the run's buffers could not be had
    Thread,       // the worker thread could not be started
    DriveCheck,   // the check before the run refused the drive
    Verify,       // data read back differed from what the run wrote
};

struct RunOutcome {
    RunResult result = RunResult::Complete;
    // For a failed run: the first failure's message as the user was shown it,
    // and the system's error code (0 for failures without one, such as timing).
    std::string errorText;
    int errorCode = 0;
    // Test files that exist but could not be deleted at the end, whatever the
    // result. Not listed: a name that did not exist, and one that holds a
    // link or special file the run left alone (a file with other names is
    // listed only when this run made it).
    std::vector<std::string> undeletedFiles;
    FileAccess fileAccess = FileAccess::None;
    FailureKind failureKind = FailureKind::None;
    // A verified run's bytes checked, first mismatch and check rates.
    RunFigures figures {};
};

// "complete", "stopped" or "failed", as the run record spells them.
const char* RunResultName(RunResult result);

// "create", "open", "write", "read", "close", "delete", "folder in use",
// "timing", "memory", "thread", "drive check", "verify"; "none" for None.
const char* FailureKindName(FailureKind kind);

// "none", "direct", "synchronous buffered" or "mixed".
const char* FileAccessName(FileAccess access);

// The access of a run that has used `seen` so far and now opens a file `direct` or not.
FileAccess CombineFileAccess(FileAccess seen, bool direct);

}  // namespace kel
