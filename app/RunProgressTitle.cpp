#include "app/RunProgressTitle.h"

#include "app/RunProgressText.h"

namespace kel {

QString RunProgressTitle(const RunParameters& run, DrawnPass last)
{
    return QString::fromStdString(RunProgressText(run, last));
}

QString RunProgressTitle(const RunParameters& run, DrawnPass last, double elapsedSeconds)
{
    return QString::fromStdString(RunProgressText(run, last, elapsedSeconds));
}

}  // namespace kel
