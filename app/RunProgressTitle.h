#pragma once
// The main window's title during a run (RunProgressText.h), for Qt.

#include "engine/RunParameters.h"
#include "view/ResultImages.h"

#include <QString>

namespace kel {

QString RunProgressTitle(const RunParameters& run, DrawnPass last);
QString RunProgressTitle(const RunParameters& run, DrawnPass last, double elapsedSeconds);

}  // namespace kel
