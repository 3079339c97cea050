#include "app/RunProgressText.h"

#include "app/DialogLayout.h"

#include <algorithm>
#include <cmath>

namespace kel {

std::string RunProgressText(const RunParameters& run, DrawnPass last)
{
    std::string kind = "Play";
    int count = run.readReps;
    int pass = std::min(last.passNumber + 1, count);
    if (run.simultaneous != 0) {
        kind = "Play/Record";
    } else if (last.passNumber == 0 || (last.isWrite && last.passNumber < run.writeReps)) {
        kind = "Record";
        count = run.writeReps;
        pass = last.passNumber + 1;
    } else if (last.isWrite) {
        pass = 1;  // the write passes are done; reading starts
    }
    return std::string(kDialogCaption) + " - " + kind + " " + std::to_string(pass) + " of " + std::to_string(count);
}

std::string RunProgressText(const RunParameters& run, DrawnPass last, double elapsedSeconds)
{
    // A run with simultaneous write hands over only its read passes.
    const int writes = run.simultaneous != 0 ? 0 : run.writeReps;
    const int total = std::max(1, writes + run.readReps);
    const int done = last.passNumber <= 0 ? 0 : (last.isWrite ? last.passNumber : writes + last.passNumber);
    std::string title = RunProgressText(run, last) + " - " + std::to_string(100 * done / total) + " %";
    if (done > 0 && elapsedSeconds > 0.0) {
        const long long left = std::llround(elapsedSeconds / done * (total - done));
        title += left < 120 ? ", " + std::to_string(left) + " s left"
                            : ", " + std::to_string((left + 30) / 60) + " min left";
    }
    return title;
}

}  // namespace kel
