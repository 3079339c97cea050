#pragma once
// Reading a run record back, for drawing it and for tools that compare runs.
// A record that breaks the rules the drawing relies on is refused with its
// first problem rather than drawn wrong: keys the drawing reads that are
// missing or of the wrong type, pass numbers beyond the counts, a kind of
// pass the parameters announce none of, and passes without samples. The
// other keys are taken where they are present and of their type, and left
// at their defaults otherwise; records of earlier versions lack some.

#include "record/RunRecord.h"

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kel {

// The record; nothing, with the first problem in problem, when the text
// breaks a rule.
std::optional<RunRecord> ParseRunRecord(std::string_view json, std::string& problem);

// The same, read from stream as it comes, so that endless or binary input
// is refused at its first wrong byte.
std::optional<RunRecord> ReadRunRecord(std::FILE* stream, std::string& problem);

// Where the passes of a record read pass by pass go: the parameters once,
// before the first pass, then each pass as soon as it has been read and
// checked.
struct RecordPassReceiver {
    std::function<void(const RunParameters&)> onParameters;
    std::function<void(RecordedPass&&)> onPass;
};

// Like ReadRunRecord, holding one pass at a time: each goes to receiver and
// the record returned has none. A record refused later may have handed over
// passes before its problem was met. A pass may hold as many samples as the
// run's files and transfers allow (the run kept room for that many itself).
std::optional<RunRecord> StreamRunRecord(std::FILE* stream, const RecordPassReceiver& receiver,
                                         std::string& problem);

}  // namespace kel
