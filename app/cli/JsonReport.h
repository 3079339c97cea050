#pragma once
// The JSON record of a run: its parameters, every pass with all its samples,
// and how the run ended.

#include "app/cli/CliOptions.h"
#include "app/cli/CliReport.h"

#include <QString>

namespace kel {

// Writes the whole file or nothing; false with the reason in error.
bool WriteJsonReport(const QString& path, const CliOptions& options, const QString& directory,
                     const std::vector<ReportedPass>& passes, const QString& result, const QString& failure,
                     QString& error);

}  // namespace kel
