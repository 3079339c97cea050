#pragma once
// How a run ended, as the engine tells it with the end of the run. Message
// boxes are for the user to read; callers decide from this.

#include <string>
#include <vector>

namespace kel {

enum class RunResult {
    Complete,  // every pass ran and the files were deleted
    Stopped,   // a stop was requested; what was made has been deleted
    Failed,    // the first failure ended the run
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
};

// "complete", "stopped" or "failed", as the run record spells them.
const char* RunResultName(RunResult result);

}  // namespace kel
