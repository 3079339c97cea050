#include "app/cli/CliReport.h"

#include <algorithm>

namespace kel {

void CliReport::ConfigureRun(int readReps, int writeReps, int simultaneous, int, int)
{
    std::lock_guard lock(m_mutex);
    m_readReps = readReps;
    m_writeReps = simultaneous != 0 ? 1 : writeReps;
    m_simultaneous = simultaneous != 0;
}

void CliReport::AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate, int isWrite)
{
    std::lock_guard lock(m_mutex);
    const auto [lowest, highest] = std::minmax_element(samples, samples + sampleCount);
    if (m_progress) {
        std::fputs("\r\033[K", stderr);
    }
    std::fprintf(m_out, "%-6s %4d  samples %6d  lowest %10.3f  highest %10.3f  pass %10.3f MB/s\n",
                 isWrite != 0 ? "Record" : "Play", passNumber, sampleCount, *lowest, *highest, passRate);
    std::fflush(m_out);
    (isWrite != 0 ? m_record : m_play).Add(passNumber, samples, sampleCount, passRate);
    ReportedPass pass {isWrite != 0, passNumber, passRate, {}};
    if (m_keepSamples) {
        pass.samples.assign(samples, samples + sampleCount);
    }
    m_passes.push_back(std::move(pass));
    if (m_progress) {
        PrintProgress(passNumber, isWrite != 0);
    }
}

void CliReport::PrintProgress(int passNumber, bool isWrite)
{
    const int total = m_writeReps + m_readReps;
    const int done = isWrite ? passNumber : (m_simultaneous ? 0 : m_writeReps) + passNumber;
    const int shownTotal = m_simultaneous ? m_readReps : total;
    std::fprintf(stderr, "  %d of %d passes done", done, shownTotal);
    std::fflush(stderr);
}

void CliReport::ShowMessageBox(const std::string& text, unsigned, const std::atomic<std::int32_t>*)
{
    std::lock_guard lock(m_mutex);
    if (m_progress) {
        std::fputs("\r\033[K", stderr);
    }
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

void CliReport::PrintSummary()
{
    std::lock_guard lock(m_mutex);
    if (m_progress) {
        std::fputs("\r\033[K", stderr);
    }
    const auto section = [this](const char* heading, const PassStatistics& stats) {
        if (stats.passNumber == 0) {
            return;
        }
        std::fprintf(m_out, "%s\n  Min: %s\n  Max: %s\n  Avg: %s\n", heading, RateText(stats.minRate).c_str(),
                     RateText(stats.maxRate).c_str(), RateText(stats.Average()).c_str());
    };
    section(m_simultaneous ? "Play/Record Performance:" : "Play Performance:", m_play);
    if (!m_simultaneous) {
        section("Record Performance:", m_record);
    }
    std::fflush(m_out);
}

std::vector<ReportedPass> CliReport::Passes() const
{
    std::lock_guard lock(m_mutex);
    return m_passes;
}

}  // namespace kel
