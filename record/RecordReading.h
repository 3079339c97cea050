#pragma once
// Reading a run record back, for drawing it. A record that breaks the rules
// the drawing relies on is refused with its first problem rather than drawn
// wrong: keys the drawing reads that are missing or of the wrong type, pass
// numbers beyond the counts, a kind of pass the parameters announce none of,
// and passes without samples. Keys the drawing does not read are not checked.

#include "record/RunRecord.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace kel {

// The record's parameters and passes; nothing, with the first problem in
// problem, when the text breaks a rule.
std::optional<RunRecord> ParseRunRecord(const QByteArray& json, QString& problem);

}  // namespace kel
