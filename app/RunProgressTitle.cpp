#include "app/RunProgressTitle.h"

#include "app/DialogLayout.h"

#include <algorithm>

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

}  // namespace kel
