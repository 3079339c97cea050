#pragma once
// A saved record drawn into a results view, read pass by pass so a long
// record never has to fit in memory whole. Plain C++, for the view of every
// toolkit: View has the run's calls of a PassResultSink and AddComparedPass
// and ClearCompared of ResultDrawing.

#include "record/RecordReading.h"

#include <cstdio>
#include <optional>
#include <string>

namespace kel {

// Shown (compare false): the view is configured for the record's run, other
// runs dropped, and its passes and figures drawn as the run drew them; a
// record refused later leaves the passes read before its problem. Compared:
// its passes are drawn beneath as the run-th other run. The record without
// its passes, or nothing with the first problem in problem.
template <class View>
std::optional<RunRecord> DrawSavedRecord(std::FILE* file, bool compare, int run, View& view, std::string& problem)
{
    RunParameters parameters;
    const RecordPassReceiver receiver {
        [&](const RunParameters& p) {
            parameters = p;
            if (!compare) {
                view.ClearCompared();
                view.ConfigureRun(p.readReps, p.writeReps, p.simultaneous, p.minRead, p.minWrite);
            }
        },
        [&](RecordedPass&& pass) {
            const int sampleCount = static_cast<int>(pass.samples.size());
            if (compare) {
                view.AddComparedPass(run, pass.number, pass.isWrite ? parameters.writeReps : parameters.readReps,
                                     pass.samples.data(), sampleCount, pass.isWrite);
            } else {
                view.AddPassResults(pass.number, pass.samples.data(), sampleCount, pass.rate, pass.isWrite ? 1 : 0);
                if (pass.hasFigures) {
                    view.AddPassFigures(pass.figures);
                }
            }
        }};
    return StreamRunRecord(file, receiver, problem);
}

}  // namespace kel
