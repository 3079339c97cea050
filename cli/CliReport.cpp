#include "cli/CliReport.h"

#include "engine/PassStatistics.h"
#include "engine/PassWatch.h"
#include "platform/DecimalText.h"
#include "platform/SystemError.h"
#include "platform/TextRules.h"

#include <algorithm>
#include <cerrno>

namespace kel {

namespace {

std::string SecondsText(double seconds)
{
    return FixedText(seconds, 3) + " s";
}

// The figures below a kind's rates: its longest stall, its stream's verdict
// and its cache cliff, where the record has them.
std::string FiguresText(const KindFigures& figures)
{
    if (!figures.any) {
        return {};
    }
    std::string text = "  Longest stall: " + SecondsText(figures.stall.seconds) + " in pass " +
                       std::to_string(figures.stallPass) + " at " + SecondsText(figures.stall.atSeconds) + "\n";
    if (figures.stream.judged) {
        text += "  Stream: " + StreamVerdictText(figures.stream) + " (pass " + std::to_string(figures.streamPass) +
                ")\n";
    }
    if (figures.cliffPass != 0) {
        text += "  Cache cliff " + CliffText(figures.cliff) + " (pass " +
                std::to_string(figures.cliffPass) + ")\n";
    }
    return text;
}

// The read-back check and the drive's link, where the record has them.
std::string RunFiguresText(const RunRecord& record)
{
    std::string text;
    const RunFigures& figures = record.outcome.figures;
    if (record.options.verify) {
        text += "Verified: " + SizeText(static_cast<double>(figures.bytesVerified), false) +
                (figures.firstMismatch.kind == MismatchKind::None ? " read back as written" : " checked") +
                " (stamps made at " + RateText(figures.generatorRate) + ", checked at " +
                RateText(figures.checkerRate) + " on one core)\n";
    }
    if (record.interfaceLink) {
        text += "Interface: " + record.interfaceLink->name + ", at most " +
                RateText(record.interfaceLink->bytesPerSecond / kBytesPerMB) + "\n";
    }
    return text;
}

std::string SectionText(const char* heading, const KindSummary& summary, double minimum)
{
    if (summary.passes == 0) {
        return {};
    }
    std::string text = std::string(heading) + "\n  Min: " + RateText(summary.minRate) +
                       "\n  Max: " + RateText(summary.maxRate) + "\n  Avg: " + RateText(summary.averageRate) + "\n";
    if (minimum > 0.0) {
        text += "  Below " + RateText(minimum) + ": " + std::to_string(summary.samplesBelowMinimum) + " of " +
                std::to_string(summary.samples) + " samples\n";
    }
    return text + FiguresText(summary.figures);
}

std::string AccessNote(FileAccess access)
{
    switch (access) {
    case FileAccess::SyncBuffered:
        return "Note: direct I/O was refused here; the test files were written synchronously and read with their "
               "cached pages dropped (buffered fallback).\n";
    case FileAccess::Mixed:
        return "Note: direct I/O was refused for some of the test files; those were written synchronously and read "
               "with their cached pages dropped (buffered fallback).\n";
    case FileAccess::None:
    case FileAccess::Direct:
        break;
    }
    return {};
}

}  // namespace

void CliReport::Write(std::FILE* stream, const std::string& text)
{
    errno = 0;
    SetLastSystemError(0);
    if (std::fputs(text.c_str(), stream) < 0 || std::fflush(stream) != 0) {
        int expected = 0;
        if (m_outputError.compare_exchange_strong(expected, StreamWriteError(errno), std::memory_order_acq_rel) &&
            m_onOutputFailure) {
            m_onOutputFailure();
        }
    }
}

void CliReport::ClearProgressLocked()
{
    if (m_progress) {
        Write(stderr, "\r\033[K");
    }
}

void CliReport::ConfigureRun(int readReps, int writeReps, int simultaneous, int, int)
{
    std::lock_guard lock(m_mutex);
    m_readReps = readReps;
    m_writeReps = simultaneous != 0 ? 0 : writeReps;
}

void CliReport::AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate, int isWrite)
{
    std::lock_guard lock(m_mutex);
    const auto [lowest, highest] = std::minmax_element(samples, samples + sampleCount);
    ClearProgressLocked();
    Write(m_lines, std::string(isWrite != 0 ? "Record" : "Play  ") + " " + FixedText(passNumber, 0, 4) +
                       "  samples " + FixedText(sampleCount, 0, 6) + "  lowest " + FixedText(*lowest, 3, 10) +
                       "  highest " + FixedText(*highest, 3, 10) + "  pass " + FixedText(passRate, 3, 10) +
                       " MB/s\n");
    if (m_progress) {
        const int done = isWrite != 0 ? passNumber : m_writeReps + passNumber;
        const int total = m_writeReps + m_readReps;
        m_progressText = "  " + std::to_string(done) + " of " + std::to_string(total) + " passes done";
        Write(stderr, m_progressText);
    }
}

void CliReport::AddPassFigures(const PassFigures& figures)
{
    std::lock_guard lock(m_mutex);
    ClearProgressLocked();
    const StallFigure& stall = figures.stall;
    Write(m_lines, "             stall " + SecondsText(stall.seconds) + " at " + SecondsText(stall.atSeconds) +
                       ", after " + SizeText(static_cast<double>(stall.bytesBefore), false) + "\n");
    if (m_progress) {
        Write(stderr, m_progressText);
    }
}

void CliReport::ShowMessageBox(const std::string& text, unsigned, const std::atomic<std::int32_t>*)
{
    std::lock_guard lock(m_mutex);
    ClearProgressLocked();
    // A folder named in another encoding shows its odd bytes as escapes.
    Write(stderr, EscapeInvalidUtf8(text) + "\n");
}

void CliReport::PrintSummary(const RunRecord& record)
{
    std::lock_guard lock(m_mutex);
    ClearProgressLocked();
    const bool simultaneous = record.parameters.simultaneous != 0;
    std::string text = SectionText(simultaneous ? "Play/Record Performance:" : "Play Performance:", record.play,
                                   MinimumRate(record.parameters, false));
    if (!simultaneous) {
        text += SectionText("Record Performance:", record.record, MinimumRate(record.parameters, true));
    }
    text += RunFiguresText(record);
    text += AccessNote(record.outcome.fileAccess);
    if (!text.empty()) {
        Write(m_lines, text);
    }
}

void CliReport::PrintError(const std::string& text)
{
    std::lock_guard lock(m_mutex);
    ClearProgressLocked();
    Write(stderr, text);
}

}  // namespace kel
