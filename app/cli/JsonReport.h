#pragma once
// The JSON record of a run: its parameters, every pass with all its samples,
// and how the run ended.

#include "app/cli/CliReport.h"
#include "engine/RunOutcome.h"
#include "engine/RunParameters.h"

#include <QString>

namespace kel {

// Writes the whole file or nothing; false with the reason in error.
bool WriteJsonReport(const QString& path, const RunParameters& parameters, const QString& directory,
                     const std::vector<ReportedPass>& passes, const RunOutcome& outcome, QString& error);

}  // namespace kel
