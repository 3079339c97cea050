#pragma once
// The reports a run of the runner is asked for: checked before the run, so
// that no run is wasted on a report that cannot be written or that would
// clash with another report or with the run's own files, and written after it.

#include "cli/CliOptions.h"
#include "record/RunRecord.h"

#include <optional>
#include <string>

namespace kel {

// The refusal of a report target, or nothing. testFolder is the folder the
// run's files go to.
std::optional<std::string> CheckReportTargets(const CliOptions& options, const std::string& testFolder);

// Writes every report the options ask for; 0, or the system's code of a
// failed write (kErrorBrokenPipe when any met a closed pipe). Each failure is told on
// standard error with its reason.
int WriteReports(const CliOptions& options, const RunRecord& record);

}  // namespace kel
