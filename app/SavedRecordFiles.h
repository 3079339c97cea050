#pragma once
// "Save Results...", after the file name is chosen: a finished run kept as
// its record, in the runner's JSON format, and the PNG pictures of the
// results view beside it. Plain C++ on the system's paths (UTF-8 on Windows).

#include "record/RunRecord.h"

#include <optional>
#include <string>

namespace kel {

// The name a picture of a record saved as recordPath takes: "run.json" and
// "graph.png" give "run-graph.png".
std::string PictureBesideRecord(const std::string& recordPath, const std::string& pictureName);

// Writes the record to recordPath and the pictures (PNG bytes) beside it,
// each file whole or not at all; nothing when all three were written, else
// why not. An empty picture could not be drawn and is not written.
std::optional<std::string> SaveRecordFiles(const std::string& recordPath, const RunRecord& record,
                                           const std::string& graphPng, const std::string& textPng);

}  // namespace kel
