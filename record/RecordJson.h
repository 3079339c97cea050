#pragma once
// The run record's text forms: JSON (schema 1) and metrics. Its JSON keys:
//
//   schema      1; a later schema adds keys, never renames or redefines one
//   program, version
//   start, finish   UTC, ISO 8601 ("2026-12-09T10:11:12.345Z")
//   parameters  directory and the parameter table's record keys (files,
//               fileSizeKB, bufSizeKB, readReps, writeReps, sampsSec, minRead,
//               minWrite in thousandths of an MB/s, simultaneous as true/false)
//   writePasses the write passes the run makes: writeReps, or 1 for a
//               simultaneous run (it lays the files down and is not drawn;
//               every Play pass then writes as well)
//   fileAccess  "direct", "synchronous buffered", "mixed" or "none"
//   fileSystem  type, mountPoint, device, label
//   unit        "MB/s", with unitBytes 1048576
//   passes      kind ("Record" or "Play"), number, rate, samples
//   summary     per kind that has passes: passes, min, max, average (as the
//               text view shows them), samples, minimum (when the kind has
//               one) and samplesBelowMinimum
//   result      "complete", "stopped" or "failed"; for a failed run error
//               (the message as shown), errorCode (the system's, 0 when none)
//               and, when known, failureKind (what failed: "create", "write",
//               ... as FailureKindName spells it; earlier versions lack it)
//   undeletedFiles  test files that exist but could not be deleted
//   and, from records that have them, the stall, stream, cliff, read-back
//   check, decimal rates and interface keys of RecordFiguresJson.h
//
// Texts are UTF-8; a byte of a name that is not (a folder named in another
// encoding) is written as the four characters \xHH.

#include "record/RunRecord.h"

#include <string>

namespace kel {

inline constexpr int kRecordSchema = 1;

// The record as JSON text: keys sorted, indented by four spaces.
std::string RecordJson(const RunRecord& record);

// "Record" or "Play", as the record names the kinds of pass.
const char* PassKindName(bool isWrite);

// A run's figures in the Prometheus text format, for node_exporter's textfile
// collector: gauges of the lowest, highest and average rate of each kind of
// pass (read, write) in bytes per second, the passes made, the samples below
// the kind's minimum, the result and the start and finish times; where the
// record has them, the longest stall, the buffer a stream needs, the cache
// cliff, the bytes verified and the drive's interface rate. Every line
// carries the labels folder (the test folder), mountpoint and device, the
// last two named as node_exporter names them for its file-system figures.
std::string RunMetrics(const RunRecord& record);

}  // namespace kel
