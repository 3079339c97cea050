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

}  // namespace kel
