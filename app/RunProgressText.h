#pragma once
// The main window's title during a run, as plain text for the dialog of
// every toolkit: the program's name and the pass in progress, the one after
// the pass drawn last, of the kind that runs.

#include "engine/RunParameters.h"
#include "view/ResultDrawing.h"

#include <string>

namespace kel {

// "Kel Tallyforge - Record 3 of 30", later "Kel Tallyforge - Play 2 of 30";
// with simultaneous write every pass is "Play/Record". After the last pass
// the title names it until the run has ended.
std::string RunProgressText(const RunParameters& run, DrawnPass last);

// The same with the share of passes done and the time left, estimated from
// the time the passes so far took: "Kel Tallyforge - Play 2 of 30 - 52 %,
// 14 s left" (minutes from two minutes on); before the first pass only
// "0 %".
std::string RunProgressText(const RunParameters& run, DrawnPass last, double elapsedSeconds);

}  // namespace kel
