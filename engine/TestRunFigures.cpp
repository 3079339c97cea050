// The run's verified data and the figures beyond the rates: hooks the run
// calls at its set-up, around every transfer and at the end of each pass.

#include "engine/EngineMessages.h"
#include "engine/ErrorReport.h"
#include "engine/PassFigures.h"
#include "engine/TestRun.h"
#include "platform/SystemError.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <new>

namespace kel {

namespace {

// Tells this run's data from any other's, also one in the same folder before.
std::uint64_t NewRunId(const void* run)
{
    const auto wall = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    const auto steady = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return wall ^ (steady << 21) ^ static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(run));
}

}  // namespace

bool TestRun::SetUpVerify()
{
    if (!m_context.options.verify) {
        return true;
    }
    m_verify.reset(new (std::nothrow) VerifyPipeline());
    const BlockLayout layout {m_parameters.numFiles, m_blocksPerFile, m_bufBytes, m_lastBlockBytes};
    const VerifyPipeline::StartResult started =
        m_verify ? m_verify->Start(layout, m_context.files.BufferAlignment(), NewRunId(this))
                 : VerifyPipeline::StartResult::NoMemory;
    if (started == VerifyPipeline::StartResult::NoThread) {
        Fail(FailureKind::Thread, ReportError(m_context.messages, msg::kNoThread, &m_context.stopRequested));
        return false;
    }
    if (started == VerifyPipeline::StartResult::NoMemory) {
        SetLastSystemError(ENOMEM);
        Fail(FailureKind::Memory, ReportError(m_context.messages, msg::kNoMemory, &m_context.stopRequested));
        return false;
    }
    m_verify->MeasureRates(m_figures.generatorRate, m_figures.checkerRate);
    return true;
}

void TestRun::StartPass(bool isWrite)
{
    if (m_verify) {
        if (isWrite) {
            m_verify->BeginWrite(static_cast<std::uint32_t>(m_passIndex));
        } else {
            // Read passes find what the last write pass left.
            m_verify->BeginRead(static_cast<std::uint32_t>(m_parameters.WritePasses() - 1));
            m_checkedAtPassStart = m_verify->BytesChecked();
        }
    }
    m_now = m_context.clock.Read();
    m_sampler->Start(m_now);
    m_watch.Start(m_now, m_context.clock.TicksPerSecond(), isWrite ? m_parameters.minWrite : m_parameters.minRead);
}

std::uint8_t* TestRun::TransferData(int index, bool write)
{
    if (!m_verify) {
        return m_dataBuffer.Data();
    }
    if (index == kExtraFileIndex) {
        return m_verify->LastRead();  // the extra file takes the block just read
    }
    return write ? m_verify->NextWriteBlock() : m_verify->NextReadBlock();
}

void TestRun::TransferDone(int index, bool write)
{
    if (!m_verify || index == kExtraFileIndex) {
        return;
    }
    if (write) {
        m_verify->Written();
        return;
    }
    m_verify->ReadDone();
    if (m_verify->Failed()) {
        ReportMismatch();
    }
}

bool TestRun::CheckedReadPass()
{
    if (m_verify) {
        m_verify->Drain();
        if (m_verify->Failed()) {
            ReportMismatch();
        }
    }
    return RunTests();
}

void TestRun::ReportMismatch()
{
    DataMismatch mismatch = m_verify->Mismatch();
    std::string foundName;
    if (mismatch.kind == MismatchKind::OtherPlace) {
        if (mismatch.foundFileIndex >= 0 && mismatch.foundFileIndex < m_parameters.numFiles) {
            MakeTestFileName(m_fileName, mismatch.foundFileIndex);
            foundName = m_fileName.Text();
        } else {
            mismatch.kind = MismatchKind::OtherData;  // a stamp of this run naming no file of it
        }
    }
    MakeTestFileName(m_fileName, mismatch.fileIndex);
    if (!m_errorFlag) {
        m_figures.firstMismatch = mismatch;
    }
    Fail(FailureKind::Verify, ShowPlainMessage(m_context.messages, MismatchText(mismatch, m_fileName.Text(), foundName),
                                               &m_context.stopRequested));
}

PassFigures TestRun::Figures(bool isWrite) const
{
    PassFigures figures;
    figures.passNumber = m_passIndex + 1;
    figures.isWrite = isWrite ? 1 : 0;
    figures.stall = m_watch.Stall();
    figures.stream = m_watch.Stream();
    if (isWrite) {
        figures.cliff = FindCacheCliff(m_sampler->Samples(), m_sampler->SampleCount(), m_sampleSeconds);
    } else if (m_verify) {
        figures.bytesVerified = m_verify->BytesChecked() - m_checkedAtPassStart;
    }
    return figures;
}

void TestRun::EndFigures()
{
    if (m_verify) {
        m_figures.bytesVerified = m_verify->BytesChecked();
        m_figures.transfersWaited = m_verify->Waits();
        m_verify.reset();  // the helper thread ends here, before the run is told ended
    }
    m_outcome.figures = m_figures;
}

}  // namespace kel
