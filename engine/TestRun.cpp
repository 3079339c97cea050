#include "engine/TestRun.h"

#include "engine/DriveTester.h"
#include "engine/EngineMessages.h"
#include "engine/ErrorReport.h"
#include "engine/Sampling.h"
#include "platform/SystemError.h"

#include <bit>
#include <cerrno>
#include <cstdlib>
#include <new>

namespace kel {

namespace {

std::string WithName(const char* format, const std::string& name)
{
    std::string text(format);
    const auto at = text.find("%s");
    if (at != std::string::npos) {
        text.replace(at, 2, name);
    }
    return text;
}

}  // namespace

TestRun::TestRun(DriveTester& tester) : m_tester(tester), m_fileName(tester.m_rootPath) {}

void TestRun::Execute()
{
    if (SetUp() && WritePasses()) {
        ReadPasses();
    }
    EndOfRun();
}

bool TestRun::RunTests() const
{
    return m_tester.StopRequested() == 0 && !m_errorFlag;
}

void TestRun::ReportFileFailure(const char* message, int index)
{
    const int code = LastSystemError();
    MakeTestFileName(m_fileName, index);
    const std::string text = WithName(message, m_fileName.Text());
    SetLastSystemError(code);
    ReportError(*m_tester.m_services.messages, text, &m_tester.m_stopRequested);
    m_errorFlag = true;
}

bool TestRun::SetUp()
{
    m_bufBytes = static_cast<std::uint32_t>(m_tester.m_bufSizeKB) * 1024u;
    const std::uint32_t fileBytes = static_cast<std::uint32_t>(m_tester.m_fileSizeKB) * 1024u;
    m_blocksPerFile = (fileBytes - 1) / m_bufBytes + 1;
    m_lastBlockBytes = fileBytes % m_bufBytes != 0 ? fileBytes % m_bufBytes : m_bufBytes;
    m_transferGranule = std::uint32_t {1} << std::countr_zero(m_bufBytes | m_lastBlockBytes);

    FileBackend& files = *m_tester.m_services.files;
    files.FlushVolume(m_tester.m_rootPath.c_str());

    m_dataBuffer = AlignedBuffer(m_bufBytes, files.BufferAlignment());
    const std::size_t numFiles = static_cast<std::size_t>(m_tester.m_numFiles);
    m_fileHandles.reset(new (std::nothrow) FileHandle[numFiles]);
    // One sample per transfer at most: a write pass checks after every block.
    m_samples.reset(new (std::nothrow) double[numFiles * m_blocksPerFile]);
    if (!m_dataBuffer.IsValid() || !m_fileHandles || !m_samples) {
        SetLastSystemError(ENOMEM);
        ReportError(*m_tester.m_services.messages, msg::kNoMemory, &m_tester.m_stopRequested);
        m_errorFlag = true;
        return false;
    }
    std::uint8_t* data = m_dataBuffer.Data();
    for (std::uint32_t i = 0; i < m_bufBytes; i += 2) {
        const int r = std::rand() & 0x7FFF;  // 15 bits, high byte first
        data[i] = static_cast<std::uint8_t>(r / 256);
        data[i + 1] = static_cast<std::uint8_t>(r % 256);
    }
    const double interval = SampleInterval(m_tester.m_ticksPerSec, m_tester.m_sampsSec, m_tester.m_numFiles);
    m_sampler.emplace(interval, m_tester.m_ticksPerSec, m_samples.get());
    m_passIndex = 0;
    return true;
}

bool TestRun::SampleCheck()
{
    if (m_sampler->Check(m_tester.ReadClock())) {
        return true;
    }
    ShowPlainMessage(*m_tester.m_services.messages, msg::kIntervalTooSmallSample, &m_tester.m_stopRequested);
    m_errorFlag = true;
    return false;
}

bool TestRun::FinishPass()
{
    if (!m_sampler->Finish()) {
        ShowPlainMessage(*m_tester.m_services.messages, msg::kIntervalTooSmallPass, &m_tester.m_stopRequested);
        m_errorFlag = true;
        return false;
    }
    return true;
}

bool TestRun::WritePasses()
{
    FileBackend& files = *m_tester.m_services.files;
    const int numFiles = m_tester.m_numFiles;
    PassSampler& sampler = *m_sampler;
    for (m_passIndex = 0; m_passIndex < m_tester.m_writeReps; ++m_passIndex) {
        for (int i = 0; i < numFiles; ++i) {
            MakeTestFileName(m_fileName, i);
            const int fd = files.Open(m_fileName.c_str(), TestFileMode::CreateReadWrite, m_transferGranule);
            if (fd >= 0) {
                m_fileHandles[i] = FileHandle(&files, fd);
            } else {
                ReportFileFailure(msg::kUnableToCreate, i);
            }
            if (!RunTests()) {
                return false;
            }
        }

        sampler.Start(m_tester.ReadClock());
        const std::uint8_t* data = m_dataBuffer.Data();
        for (int k = 0; k < numFiles; ++k) {
            FileHandle& file = m_fileHandles[k];
            for (std::uint32_t b = 0; b < m_blocksPerFile; ++b) {
                const std::uint32_t bytes = BlockBytes(b);
                if (file.Write(data, bytes) != static_cast<std::int64_t>(bytes)) {
                    ReportFileFailure(msg::kFailedWriting, k);
                } else {
                    sampler.Count(bytes);
                }
                if (!RunTests() || !SampleCheck()) {
                    return false;
                }
            }
        }

        if (!FinishPass()) {
            return false;
        }
        // A simultaneous run's one write pass only lays the files down.
        if (m_tester.m_graph != nullptr && m_tester.m_simultaneous == 0) {
            m_tester.m_graph->AddPassResults(m_passIndex + 1, sampler.Samples(), sampler.SampleCount(),
                                             sampler.PassRate(), 1);
        }

        for (int i = 0; i < numFiles; ++i) {
            if (!m_fileHandles[i].Close()) {
                ReportFileFailure(msg::kFailedClosing, i);
            }
            if (!RunTests()) {
                return false;
            }
        }
    }
    return true;
}

bool TestRun::ReadPasses()
{
    for (m_passIndex = 0; m_passIndex < m_tester.m_readReps;) {
        if (!ReadPass()) {
            return false;
        }
        ++m_passIndex;
        if (!RunTests()) {
            return false;
        }
    }
    return true;
}

bool TestRun::ReadPass()
{
    FileBackend& files = *m_tester.m_services.files;
    const int numFiles = m_tester.m_numFiles;
    const bool simultaneous = m_tester.m_simultaneous != 0;
    PassSampler& sampler = *m_sampler;

    for (int i = 0; i < numFiles; ++i) {
        MakeTestFileName(m_fileName, i);
        const int fd = files.Open(m_fileName.c_str(), TestFileMode::OpenRead, m_transferGranule);
        if (fd >= 0) {
            m_fileHandles[i] = FileHandle(&files, fd);
        } else {
            ReportFileFailure(msg::kUnableToOpen, i);
        }
        if (!RunTests()) {
            return false;
        }
    }
    if (simultaneous) {
        MakeTestFileName(m_fileName, kExtraFileIndex);
        const int fd = files.Open(m_fileName.c_str(), TestFileMode::CreateReadWrite, m_transferGranule);
        if (fd >= 0) {
            m_extraHandle = FileHandle(&files, fd);
        } else {
            ReportFileFailure(msg::kUnableToCreate, kExtraFileIndex);
        }
        if (!RunTests()) {
            return false;
        }
    }

    sampler.Start(m_tester.ReadClock());
    std::uint8_t* data = m_dataBuffer.Data();
    for (std::uint32_t b = 0; b < m_blocksPerFile; ++b) {
        const std::uint32_t bytes = BlockBytes(b);
        for (int j = 0; j < numFiles; ++j) {
            if (m_fileHandles[j].Read(data, bytes) != static_cast<std::int64_t>(bytes)) {
                ReportFileFailure(msg::kFailedReading, j);
            } else {
                sampler.Count(bytes);
            }
            if (!RunTests()) {
                return false;
            }
        }
        if (simultaneous) {
            if (m_extraHandle.Write(data, bytes) != static_cast<std::int64_t>(bytes)) {
                ReportFileFailure(msg::kFailedWriting, kExtraFileIndex);
            } else {
                sampler.Count(bytes);
            }
        }
        if (!RunTests() || !SampleCheck()) {
            return false;
        }
    }

    if (!FinishPass()) {
        return false;
    }
    if (m_tester.m_graph != nullptr) {
        m_tester.m_graph->AddPassResults(m_passIndex + 1, sampler.Samples(), sampler.SampleCount(),
                                         sampler.PassRate(), 0);
    }

    // Every file is closed; only the first failure, if none came before, is reported.
    for (int i = 0; i < numFiles; ++i) {
        if (!m_fileHandles[i].Close() && RunTests()) {
            ReportFileFailure(msg::kFailedClosing, i);
        }
    }
    if (simultaneous && !m_extraHandle.Close() && RunTests()) {
        ReportFileFailure(msg::kFailedClosing, kExtraFileIndex);
    }
    return true;
}

void TestRun::EndOfRun()
{
    const int numFiles = m_tester.m_numFiles;
    if (m_fileHandles) {
        for (int i = 0; i < numFiles; ++i) {
            m_fileHandles[i].Close();
        }
    }
    m_extraHandle.Close();

    // Every name is deleted, also those a cut-short run never created; those
    // failures stay silent because a stop or a failure came first.
    FileBackend& files = *m_tester.m_services.files;
    for (int i = 0; i < numFiles; ++i) {
        MakeTestFileName(m_fileName, i);
        if (!files.Remove(m_fileName.c_str()) && RunTests()) {
            ReportFileFailure(msg::kFailedDeleting, i);
        }
    }
    if (m_tester.m_simultaneous != 0) {
        MakeTestFileName(m_fileName, kExtraFileIndex);
        if (!files.Remove(m_fileName.c_str()) && RunTests()) {
            ReportFileFailure(msg::kFailedDeleting, kExtraFileIndex);
        }
    }

    m_sampler.reset();
    m_dataBuffer = AlignedBuffer();
    m_fileHandles.reset();
    m_samples.reset();
    m_tester.FinishRun();
}

}  // namespace kel
