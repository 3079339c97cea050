#pragma once
// The JSON keys of the figures beyond the rates, written and read in one
// place so that a record reads back as it was written. Only for record/.
//
//   per pass     rateDecimal; stall {seconds, at, bytesBefore}; stream (a kind
//                with a minimum) {rate, bufferBytes, fallsBehind,
//                behindAfterBytes (when it falls behind), verdict}; cliff (Record passes) {found,
//                fastRate, slowRate, at, atBytes}; bytesVerified (Play passes
//                of a verified run)
//   per kind     minDecimal, maxDecimal, averageDecimal; longestStall {pass,
//                seconds, at, bytesBefore}; stream {pass, verdict, bufferBytes,
//                fallsBehind}; cliff {pass, fastRate, slowRate, at, atBytes}
//   per run      verified, decimalUnitBytes 1000000; a verified run's
//                bytesVerified, generatorRate, checkerRate, transfersWaited
//                and firstMismatch {kind, file, offset, belongsToFile,
//                belongsAtOffset, changedBits}; interface {name, rate,
//                rateDecimal} where the system tells the drive's link
//
// Rates in MB/s (binary unless named Decimal), times in seconds from the
// pass's start, sizes in bytes. Records of earlier versions have none of
// them and gain none when written again.

#include "record/RunRecord.h"

#include <nlohmann/json.hpp>

namespace kel {

void WriteRunFigures(const RunRecord& record, nlohmann::json& root);
// Takes a pass's keys above into the pass read back.
void ReadPassFigures(const nlohmann::json& pass, RecordedPass& into);
// Takes the run's keys above into a record read back; its passes are read
// one by one with ReadPassFigures.
void ReadRunFigures(const nlohmann::json& root, RunRecord& record);

}  // namespace kel
