#pragma once
// A run's figures in the Prometheus text format, for node_exporter's textfile
// collector: gauges of the lowest, highest and average rate of each kind of
// pass (read, write) in bytes per second, the passes made, the samples below
// the kind's minimum, the result and the start and finish times. Every line
// carries the labels folder (the test folder), mountpoint and device, the
// last two named as node_exporter names them for its file-system figures.

#include "record/RunRecord.h"

#include <string>

namespace kel {

std::string RunMetrics(const RunRecord& record);

}  // namespace kel
