#pragma once
// "Save Results...": a finished run kept as its record, in the runner's JSON
// format, and the two pictures of the results view beside it.

#include "record/RunRecord.h"

#include <QImage>
#include <QString>

#include <optional>

namespace kel {

// The names the pictures of a record saved as recordPath take:
// "run.json" gives "run-graph.png" and "run-text.png".
QString GraphPicturePath(const QString& recordPath);
QString TextPicturePath(const QString& recordPath);

// Writes the record to recordPath and the pictures beside it, each file
// whole or not at all; nothing when all three were written, else why not.
std::optional<QString> SaveRunResults(const QString& recordPath, const RunRecord& record, const QImage& graph,
                                      const QImage& text);

}  // namespace kel
