#pragma once
// Reading back the JSON record of a run that the runner writes.

#include "app/cli/CliReport.h"

#include <QString>

#include <optional>
#include <vector>

namespace kel {

struct RunRecord {
    int readReps = 0;
    int writeReps = 0;
    int simultaneous = 0;
    int minRead = 0;
    int minWrite = 0;
    std::vector<ReportedPass> passes;
};

// The record, or nothing with the reason in error.
std::optional<RunRecord> ReadRunRecord(const QString& path, QString& error);

}  // namespace kel
