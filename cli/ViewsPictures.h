#pragma once
// The two pictures keltally-views writes, drawn from a record as the results
// view draws its run: with QPainter and Qt's PNG writer on Linux, with GDI
// and the program's own PNG writer on Windows.

#include "engine/RunObservers.h"
#include "record/RunRecord.h"
#include "view/GraphScale.h"

#include <string>

namespace kel {

// PNG file bytes of each picture; empty when it could not be drawn.
struct PicturesPng {
    std::string graph;
    std::string text;
};

PicturesPng DrawRecordPictures(const RunRecord& record, const GraphScale& scale);

// Hands the record's run and its passes to a view, as the run did.
inline void ReplayRecord(PassResultSink& view, const RunRecord& record)
{
    const RunParameters& p = record.parameters;
    view.ConfigureRun(p.readReps, p.writeReps, p.simultaneous, p.minRead, p.minWrite);
    for (const RecordedPass& pass : record.passes) {
        view.AddPassResults(pass.number, pass.samples.data(), static_cast<int>(pass.samples.size()), pass.rate,
                            pass.isWrite ? 1 : 0);
    }
}

// The results view's client area in the dialog.
constexpr int kPictureWidth = 510;
constexpr int kPictureHeight = 299;

}  // namespace kel
