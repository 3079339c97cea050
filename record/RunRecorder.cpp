#include "record/RunRecorder.h"

#include "Version.h"

#include <utility>

namespace kel {

RunRecorder::RunRecorder(PassResultSink* next, bool keepSamples) : m_next(next), m_keepSamples(keepSamples) {}

void RunRecorder::Begin(const std::string& program, const RunParameters& parameters, const std::string& directory,
                        const FileSystemInfo& fileSystem)
{
    std::lock_guard lock(m_mutex);
    m_record = RunRecord {};
    m_record.program = program;
    m_record.version = kVersion;
    m_record.start = std::chrono::system_clock::now();
    m_record.parameters = parameters;
    m_record.directory = directory;
    m_record.fileSystem = fileSystem;
    m_record.hasFigures = true;
    m_writes = KindFigures {};
    m_reads = KindFigures {};
}

void RunRecorder::SetRunDetails(const RunOptions& options, const std::optional<InterfaceLink>& link)
{
    std::lock_guard lock(m_mutex);
    m_record.options = options;
    m_record.interfaceLink = link;
}

void RunRecorder::ConfigureRun(int readReps, int writeReps, int simultaneous, int minRead, int minWrite)
{
    if (m_next != nullptr) {
        m_next->ConfigureRun(readReps, writeReps, simultaneous, minRead, minWrite);
    }
}

void RunRecorder::AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate,
                                 int isWrite)
{
    {
        std::lock_guard lock(m_mutex);
        KindFigures& kind = isWrite != 0 ? m_writes : m_reads;
        kind.statistics.Add(passNumber, samples, sampleCount, passRate);
        const double minimum = MinimumRate(m_record.parameters, isWrite != 0);
        for (int i = 0; i < sampleCount; ++i) {
            kind.samplesBelowMinimum += samples[i] < minimum ? 1 : 0;
        }
        kind.samples += sampleCount;
        kind.passes += 1;
        RecordedPass pass;
        pass.isWrite = isWrite != 0;
        pass.number = passNumber;
        pass.rate = passRate;
        if (m_keepSamples) {
            pass.samples.assign(samples, samples + sampleCount);
        }
        m_record.passes.push_back(std::move(pass));
    }
    if (m_next != nullptr) {
        m_next->AddPassResults(passNumber, samples, sampleCount, passRate, isWrite);
    }
}

void RunRecorder::AddPassFigures(const PassFigures& figures)
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_record.passes.empty()) {
            RecordedPass& pass = m_record.passes.back();
            pass.hasFigures = true;
            pass.figures = figures;
        }
    }
    if (m_next != nullptr) {
        m_next->AddPassFigures(figures);
    }
}

void RunRecorder::Finish(const RunOutcome& outcome)
{
    std::lock_guard lock(m_mutex);
    m_record.finish = std::chrono::system_clock::now();
    m_record.outcome = outcome;
}

RunRecord RunRecorder::Record() const
{
    std::lock_guard lock(m_mutex);
    RunRecord record = m_record;
    for (const auto& [summary, kind] : {std::pair {&record.record, &m_writes}, {&record.play, &m_reads}}) {
        *summary = SummaryOf(kind->statistics, kind->passes, kind->samples, kind->samplesBelowMinimum);
    }
    SummarizeFigures(record.passes, true, record.record);
    SummarizeFigures(record.passes, false, record.play);
    return record;
}

}  // namespace kel
