#pragma once
// The main window's title during a run: the program's name and the pass in
// progress, the one after the pass drawn last, of the kind that runs.

#include "engine/RunParameters.h"
#include "view/ResultImages.h"

#include <QString>

namespace kel {

// "Kel Tallyforge - Record 3 of 30", later "Kel Tallyforge - Play 2 of 30";
// with simultaneous write every pass is "Play/Record". After the last pass
// the title names it until the run has ended.
QString RunProgressTitle(const RunParameters& run, DrawnPass last);

}  // namespace kel
