#include "app/RunProgressTitle.h"

#include "app/DialogLayout.h"

#include <algorithm>
#include <cmath>

namespace kel {

QString RunProgressTitle(const RunParameters& run, DrawnPass last)
{
    QString kind = QStringLiteral("Play");
    int count = run.readReps;
    int pass = std::min(last.passNumber + 1, count);
    if (run.simultaneous != 0) {
        kind = QStringLiteral("Play/Record");
    } else if (last.passNumber == 0 || (last.isWrite && last.passNumber < run.writeReps)) {
        kind = QStringLiteral("Record");
        count = run.writeReps;
        pass = last.passNumber + 1;
    } else if (last.isWrite) {
        pass = 1;  // the write passes are done; reading starts
    }
    return QStringLiteral("%1 - %2 %3 of %4").arg(QLatin1String(kDialogCaption), kind).arg(pass).arg(count);
}

QString RunProgressTitle(const RunParameters& run, DrawnPass last, double elapsedSeconds)
{
    // A run with simultaneous write hands over only its read passes.
    const int writes = run.simultaneous != 0 ? 0 : run.writeReps;
    const int total = std::max(1, writes + run.readReps);
    const int done = last.passNumber <= 0 ? 0 : (last.isWrite ? last.passNumber : writes + last.passNumber);
    QString title = RunProgressTitle(run, last) + QStringLiteral(" - %1 %").arg(100 * done / total);
    if (done > 0 && elapsedSeconds > 0.0) {
        const long long left = std::llround(elapsedSeconds / done * (total - done));
        title += left < 120 ? QStringLiteral(", %1 s left").arg(left)
                            : QStringLiteral(", %1 min left").arg((left + 30) / 60);
    }
    return title;
}

}  // namespace kel
