#pragma once
// The record of one run: what was asked, where, how the files were reached,
// every finished pass with its samples, the figures of each kind of pass and
// how the run ended. The runner writes it with --json; the dialog saves the
// same record. RecordJson.h gives its JSON form, RunRecorder.h collects it
// during a run.

#include "engine/RunOutcome.h"
#include "engine/RunParameters.h"
#include "engine/PassStatistics.h"
#include "platform/DriveTable.h"
#include "platform/InterfaceLink.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

// The file system that holds the test folder; empty texts where not known.
struct FileSystemInfo {
    std::string type;  // e.g. "ext4"
    std::string mountPoint;
    std::string device;  // e.g. "/dev/sda1"
    std::string label;
};

struct RecordedPass {
    bool isWrite = false;  // a Record (write) pass, else a Play (read) pass
    int number = 0;        // 1 up to the kind's count
    double rate = 0.0;     // of the whole pass, in MB/s
    std::vector<double> samples;  // in MB/s, in time order
    // The pass's stall, stream, cliff and bytes verified; records of earlier
    // versions lack them.
    bool hasFigures = false;
    PassFigures figures {};
};

// One kind's figures as the text view shows them (the rule of
// PassStatistics.h), and how many samples lie below the kind's minimum rate.
struct KindSummary {
    int passes = 0;
    double minRate = 0.0;
    double maxRate = 0.0;
    double averageRate = 0.0;
    std::int64_t samples = 0;
    std::int64_t samplesBelowMinimum = 0;  // 0 when the kind has no minimum
    // From the passes' figures (SummarizeFigures); figures.any is false
    // when the passes have none.
    KindFigures figures {};
};

struct RunRecord {
    std::string program;  // the program that made the run, e.g. "keltally-cli"
    std::string version;
    std::chrono::system_clock::time_point start;
    std::chrono::system_clock::time_point finish;
    RunParameters parameters;
    std::string directory;  // the test folder, the system's bytes
    FileSystemInfo fileSystem;
    std::vector<RecordedPass> passes;  // in the order they finished
    KindSummary record;                // Record passes
    KindSummary play;                  // Play passes (in a simultaneous run they also write)
    RunOutcome outcome;
    // Made by a version that records the figures beyond the rates: the
    // options, the device's link, and the passes' figures.
    bool hasFigures = false;
    RunOptions options {};
    std::optional<InterfaceLink> interfaceLink;  // where the system tells it
};

// The unit of every rate: MB/s with 1 MB = 1,048,576 bytes.
inline constexpr double kBytesPerMB = 1048576.0;
// The decimal MB the record gives beside it: 1,000,000 bytes.
inline constexpr double kBytesPerDecimalMB = 1000000.0;

// A rate in MB/s as decimal MB/s.
inline double DecimalRate(double rate)
{
    return rate * kBytesPerMB / kBytesPerDecimalMB;
}

// The kind's minimum rate in MB/s; 0 when it has none.
double MinimumRate(const RunParameters& parameters, bool isWrite);

// What a drive entry tells of its file system.
FileSystemInfo FileSystemOf(const DriveEntry& drive);

// A kind's summary from its passes' figures, the one rule for the runner,
// the record and the metrics alike.
KindSummary SummaryOf(const PassStatistics& statistics, int passes, std::int64_t samples,
                      std::int64_t samplesBelowMinimum);

// The kind's figures in summary from its passes' figures.
void SummarizeFigures(const std::vector<RecordedPass>& passes, bool isWrite, KindSummary& summary);

// A time as the record writes it, in UTC to the millisecond:
// "2026-12-09T10:11:12.345Z".
std::string RecordTimeText(std::chrono::system_clock::time_point time);
// The time such a text names; nothing when it is not of that form.
std::optional<std::chrono::system_clock::time_point> ParseRecordTime(std::string_view text);

}  // namespace kel
