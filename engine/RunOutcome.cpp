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

}  // namespace kel
