#include "record/RecordJson.h"

#include "platform/DecimalText.h"
#include "platform/TextRules.h"

#include <chrono>

#include <string>

namespace kel {

namespace {

// A label value with backslash, double quote and line feed escaped.
std::string LabelValue(const std::string& text)
{
    std::string escaped;
    for (const char c : EscapeInvalidUtf8(text)) {
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case '"':
            escaped += "\\\"";
            break;
        case '\n':
            escaped += "\\n";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

class MetricsText {
public:
    explicit MetricsText(const RunRecord& record)
        : m_labels("folder=\"" + LabelValue(record.directory) + "\",mountpoint=\"" +
                   LabelValue(record.fileSystem.mountPoint) + "\",device=\"" + LabelValue(record.fileSystem.device) +
                   "\"")
    {
    }

    // Starts a family; its help and type lines come with its first sample,
    // so a family without samples leaves no trace.
    void Family(const char* name, const char* help)
    {
        m_name = name;
        m_header = std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " gauge\n";
    }

    // One sample of the current family; extra is a further label or empty.
    void Sample(const std::string& extra, double value)
    {
        m_text += m_header;
        m_header.clear();
        m_text += m_name + "{" + m_labels + (extra.empty() ? "" : "," + extra) + "} " + ShortestText(value) + "\n";
    }

    const std::string& Text() const { return m_text; }

private:
    std::string m_labels;
    std::string m_name;
    std::string m_header;
    std::string m_text;
};

// Seconds since 1970 to the millisecond, as the record keeps its times.
double EpochSeconds(std::chrono::system_clock::time_point time)
{
    const auto milliseconds = std::chrono::floor<std::chrono::milliseconds>(time).time_since_epoch().count();
    return static_cast<double>(milliseconds) / 1000.0;
}

struct Kind {
    const char* label;
    const KindSummary& summary;
    double minimum;  // MB/s, 0: none
};

void AddFigureMetrics(const RunRecord& record, const Kind (&kinds)[2], MetricsText& metrics)
{
    metrics.Family("keltally_stall_longest_seconds", "The longest time one transfer took in the kind's passes.");
    for (const Kind& kind : kinds) {
        if (kind.summary.figures.any) {
            metrics.Sample(kind.label, kind.summary.figures.stall.seconds);
        }
    }
    metrics.Family("keltally_stream_buffer_bytes",
                   "The buffer a stream at the kind's minimum rate needs so that nothing is dropped or late.");
    for (const Kind& kind : kinds) {
        if (kind.summary.figures.stream.judged) {
            metrics.Sample(kind.label, kind.summary.figures.stream.bufferBytes);
        }
    }
    metrics.Family("keltally_stream_falls_behind", "1 when the drive falls behind the kind's minimum rate for good.");
    for (const Kind& kind : kinds) {
        if (kind.summary.figures.stream.judged) {
            metrics.Sample(kind.label, kind.summary.figures.stream.fallsBehind ? 1 : 0);
        }
    }
    metrics.Family("keltally_cache_cliff_bytes", "Bytes a write pass had written when its rate fell for good.");
    if (record.record.figures.cliffPass != 0) {
        metrics.Sample(kinds[1].label, record.record.figures.cliff.atBytes);
    }
    metrics.Family("keltally_verified_bytes", "Bytes read back and checked against what the run wrote.");
    if (record.options.verify) {
        metrics.Sample({}, static_cast<double>(record.outcome.figures.bytesVerified));
    }
    metrics.Family("keltally_interface_bytes_per_second", "The most the drive's link carries, where the system tells it.");
    if (record.interfaceLink) {
        metrics.Sample({}, record.interfaceLink->bytesPerSecond);
    }
}

}  // namespace

std::string RunMetrics(const RunRecord& record)
{
    MetricsText metrics(record);
    const Kind kinds[] = {
        {"kind=\"read\"", record.play, MinimumRate(record.parameters, false)},
        {"kind=\"write\"", record.record, MinimumRate(record.parameters, true)},
    };
    const struct {
        const char* name;
        const char* help;
        double KindSummary::*rate;
    } rates[] = {
        {"keltally_rate_min_bytes_per_second", "Lowest rate sampled in the run's passes of the kind.",
         &KindSummary::minRate},
        {"keltally_rate_max_bytes_per_second", "Highest rate sampled in the run's passes of the kind.",
         &KindSummary::maxRate},
        {"keltally_rate_average_bytes_per_second", "Mean of the whole-pass rates of the run's passes of the kind.",
         &KindSummary::averageRate},
    };
    for (const auto& rate : rates) {
        metrics.Family(rate.name, rate.help);
        for (const Kind& kind : kinds) {
            if (kind.summary.passes > 0) {
                metrics.Sample(kind.label, kind.summary.*rate.rate * kBytesPerMB);
            }
        }
    }
    metrics.Family("keltally_passes", "Passes of the kind the run finished.");
    for (const Kind& kind : kinds) {
        metrics.Sample(kind.label, kind.summary.passes);
    }
    metrics.Family("keltally_minimum_rate_bytes_per_second", "The minimum rate of the kind, where it has one.");
    for (const Kind& kind : kinds) {
        if (kind.minimum > 0.0) {
            metrics.Sample(kind.label, kind.minimum * kBytesPerMB);
        }
    }
    metrics.Family("keltally_samples_below_minimum", "Samples of the kind below its minimum rate.");
    for (const Kind& kind : kinds) {
        metrics.Sample(kind.label, static_cast<double>(kind.summary.samplesBelowMinimum));
    }
    if (record.hasFigures) {
        AddFigureMetrics(record, kinds, metrics);
    }
    metrics.Family("keltally_run_result", "1 for how the run ended, 0 for the other results.");
    for (const RunResult result : {RunResult::Complete, RunResult::Stopped, RunResult::Failed}) {
        const std::string label = std::string("result=\"") + RunResultName(result) + "\"";
        metrics.Sample(label, result == record.outcome.result ? 1 : 0);
    }
    metrics.Family("keltally_run_start_timestamp_seconds", "When the run started, in seconds since 1970 (UTC).");
    metrics.Sample({}, EpochSeconds(record.start));
    metrics.Family("keltally_run_finish_timestamp_seconds", "When the run finished, in seconds since 1970 (UTC).");
    metrics.Sample({}, EpochSeconds(record.finish));
    return metrics.Text();
}

}  // namespace kel
