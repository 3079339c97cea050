#include "engine/TestRun.h"

#include "engine/EngineMessages.h"
#include "engine/ErrorReport.h"
#include "engine/PassSampler.h"
#include "platform/ForeignNames.h"
#include "platform/SystemError.h"

#include <bit>
#include <cstdlib>
#include <new>

namespace kel {

TestRun::TestRun(const RunContext& context)
    : m_context(context), m_parameters(m_context.parameters), m_fileName(m_context.rootPath)
{
}

RunOutcome TestRun::Execute()
{
    if (SetUp() && WritePasses()) {
        ReadPasses();
    }
    EndOfRun();
    return m_outcome;
}

bool TestRun::RunTests() const
{
    return m_context.stopRequested.load(std::memory_order_acquire) == 0 && !m_errorFlag;
}

void TestRun::Fail(FailureKind kind, RunOutcome failure)
{
    if (!m_errorFlag) {
        m_outcome = std::move(failure);
        m_outcome.failureKind = kind;
    }
    m_errorFlag = true;
}

void TestRun::ReportFileFailure(FailureKind kind, const char* message, int index)
{
    const int code = LastSystemError();
    MakeTestFileName(m_fileName, index);
    Fail(kind, ReportNamedError(m_context.messages, message, m_fileName.Text(), code, FileErrorText(code),
                          &m_context.stopRequested));
}

bool TestRun::HoldFolder()
{
    const int folder = m_context.files.OpenFolder(m_context.rootPath.c_str());
    if (folder >= 0) {
        m_folder = FolderHandle(&m_context.files, folder);
        return true;
    }
    const int code = LastSystemError();
    if (code == kErrorInUse) {
        // Another run's folder: nothing in it is this run's to touch.
        Fail(FailureKind::FolderInUse, ReportNamedError(m_context.messages, msg::kFolderInUse, m_context.rootPath,
                                                        code, msg::kFolderInUseReason, &m_context.stopRequested));
    } else {
        // A folder that cannot be opened is one the first file cannot be made
        // in; the system's words tell why, since no test-file name is at fault.
        MakeTestFileName(m_fileName, 0);
        Fail(FailureKind::Create, ReportNamedError(m_context.messages, msg::kUnableToCreate, m_fileName.Text(), code,
                                                   SystemErrorText(code), &m_context.stopRequested));
    }
    return false;
}

bool TestRun::SetUp()
{
    m_bufBytes = static_cast<std::uint32_t>(m_parameters.bufSizeKB) * 1024u;
    const std::uint32_t fileBytes = static_cast<std::uint32_t>(m_parameters.fileSizeKB) * 1024u;
    m_blocksPerFile = (fileBytes - 1) / m_bufBytes + 1;
    m_lastBlockBytes = fileBytes % m_bufBytes != 0 ? fileBytes % m_bufBytes : m_bufBytes;
    m_transferGranule = std::uint32_t {1} << std::countr_zero(m_bufBytes | m_lastBlockBytes);

    if (!HoldFolder()) {
        return false;
    }
    FileBackend& files = m_context.files;
    files.FlushVolume(m_folder.Descriptor());

    m_dataBuffer = AlignedBuffer(m_bufBytes, files.BufferAlignment());
    const std::size_t numFiles = static_cast<std::size_t>(m_parameters.numFiles);
    m_fileHandles.reset(new (std::nothrow) FileHandle[numFiles]);
    // One sample per transfer at most: a write pass checks after every block.
    m_samples.reset(new (std::nothrow) double[numFiles * m_blocksPerFile]);
    if (!m_dataBuffer.IsValid() || !m_fileHandles || !m_samples) {
        SetLastSystemError(kErrorNoMemory);
        Fail(FailureKind::Memory, ReportError(m_context.messages, msg::kNoMemory, &m_context.stopRequested));
        return false;
    }
    std::uint8_t* data = m_dataBuffer.Data();
    for (std::uint32_t i = 0; i < m_bufBytes; i += 2) {
        const int r = std::rand() & 0x7FFF;  // 15 bits, high byte first
        data[i] = static_cast<std::uint8_t>(r / 256);
        data[i + 1] = static_cast<std::uint8_t>(r % 256);
    }
    const Ticks64 ticksPerSec = m_context.clock.TicksPerSecond();
    const double interval = SampleInterval(ticksPerSec, m_parameters.sampsSec, m_parameters.numFiles);
    m_sampler.emplace(interval, ticksPerSec, m_samples.get());
    m_sampleSeconds = interval / TicksToDouble(ticksPerSec);
    m_passIndex = 0;
    return SetUpVerify();
}

bool TestRun::SampleCheck()
{
    if (m_sampler->Check(m_now)) {
        return true;
    }
    Fail(FailureKind::Timing,
         ShowPlainMessage(m_context.messages, msg::kIntervalTooSmallSample, &m_context.stopRequested));
    return false;
}

bool TestRun::FinishPass(bool isWrite)
{
    PassSampler& sampler = *m_sampler;
    if (!sampler.Finish()) {
        Fail(FailureKind::Timing,
             ShowPlainMessage(m_context.messages, msg::kIntervalTooSmallPass, &m_context.stopRequested));
        return false;
    }
    // A simultaneous run's one write pass only lays the files down.
    const bool shown = !isWrite || m_parameters.simultaneous == 0;
    if (m_context.graph != nullptr && shown) {
        m_context.graph->AddPassResults(m_passIndex + 1, sampler.Samples(), sampler.SampleCount(), sampler.PassRate(),
                                        isWrite ? 1 : 0);
        m_context.graph->AddPassFigures(Figures(isWrite));
    }
    return true;
}

bool TestRun::OpenFile(int index, TestFileMode mode, FileHandle& handle)
{
    MakeTestFileName(m_fileName, index);
    const int fd = m_context.files.Open(m_folder.Descriptor(), m_fileName.Name(), mode, m_transferGranule);
    if (fd >= 0) {
        m_fileAccess = CombineFileAccess(m_fileAccess, m_context.files.TransfersDirectly(fd));
        handle = FileHandle(&m_context.files, fd);
        m_made.set(MadeBit(index));
    } else {
        if (mode == TestFileMode::CreateReadWrite) {
            ReportFileFailure(FailureKind::Create, msg::kUnableToCreate, index);
        } else {
            ReportFileFailure(FailureKind::Open, msg::kUnableToOpen, index);
        }
    }
    return RunTests();
}

bool TestRun::OpenTestFiles(TestFileMode mode)
{
    for (int i = 0; i < m_parameters.numFiles; ++i) {
        if (!OpenFile(i, mode, m_fileHandles[i])) {
            return false;
        }
    }
    return true;
}

bool TestRun::Transfer(FileHandle& file, int index, std::uint32_t bytes, bool write)
{
    std::uint8_t* data = TransferData(index, write);
    const std::int64_t moved = write ? file.Write(data, bytes) : file.Read(data, bytes);
    if (moved != static_cast<std::int64_t>(bytes)) {
        if (write) {
            ReportFileFailure(FailureKind::Write, msg::kFailedWriting, index);
        } else {
            ReportFileFailure(FailureKind::Read, msg::kFailedReading, index);
        }
    } else {
        m_now = m_context.clock.Read();
        m_watch.Transferred(m_now, bytes);
        m_sampler->Count(bytes);
        TransferDone(index, write);
    }
    return RunTests();
}

bool TestRun::CloseFiles()
{
    for (int i = 0; i < m_parameters.numFiles; ++i) {
        if (!m_fileHandles[i].Close() && RunTests()) {
            ReportFileFailure(FailureKind::Close, msg::kFailedClosing, i);
        }
    }
    if (!m_extraHandle.Close() && RunTests()) {
        ReportFileFailure(FailureKind::Close, msg::kFailedClosing, kExtraFileIndex);
    }
    return RunTests();
}

bool TestRun::WritePasses()
{
    const int writePasses = m_parameters.WritePasses();
    for (m_passIndex = 0; m_passIndex < writePasses; ++m_passIndex) {
        if (!OpenTestFiles(TestFileMode::CreateReadWrite)) {
            return false;
        }
        StartPass(true);
        for (int k = 0; k < m_parameters.numFiles; ++k) {
            for (std::uint32_t b = 0; b < m_blocksPerFile; ++b) {
                if (!Transfer(m_fileHandles[k], k, BlockBytes(b), true) || !SampleCheck()) {
                    return false;
                }
            }
        }
        if (!FinishPass(true) || !CloseFiles()) {
            return false;
        }
    }
    return true;
}

bool TestRun::ReadPasses()
{
    for (m_passIndex = 0; m_passIndex < m_parameters.readReps; ++m_passIndex) {
        if (!ReadPass()) {
            return false;
        }
    }
    return true;
}

bool TestRun::ReadPass()
{
    const bool simultaneous = m_parameters.simultaneous != 0;
    if (!OpenTestFiles(TestFileMode::OpenRead) ||
        (simultaneous && !OpenFile(kExtraFileIndex, TestFileMode::CreateReadWrite, m_extraHandle))) {
        return false;
    }
    // Sweeps: one block from every file in turn, then the extra file's block.
    StartPass(false);
    for (std::uint32_t b = 0; b < m_blocksPerFile; ++b) {
        const std::uint32_t bytes = BlockBytes(b);
        for (int j = 0; j < m_parameters.numFiles; ++j) {
            if (!Transfer(m_fileHandles[j], j, bytes, false)) {
                return false;
            }
        }
        if ((simultaneous && !Transfer(m_extraHandle, kExtraFileIndex, bytes, true)) || !SampleCheck()) {
            return false;
        }
    }
    return CheckedReadPass() && FinishPass(false) && CloseFiles();
}

void TestRun::DeleteFile(int index)
{
    MakeTestFileName(m_fileName, index);
    if (m_context.files.Remove(m_folder.Descriptor(), m_fileName.Name())) {
        return;
    }
    const int code = LastSystemError();
    // Listed when a file of the run's kind is left: not for a free name, nor
    // for a link or special file that someone else put there; a file with
    // other names only when this run made it.
    const bool foreign = ForeignNameReason(code) != nullptr;
    const bool hardLinked = code == ForeignNameCode(ForeignName::HardLinked);
    if (code != kErrorNotFound && (!foreign || (hardLinked && m_made.test(MadeBit(index))))) {
        m_undeletedFiles.push_back(m_fileName.Text());
    }
    if (RunTests()) {
        SetLastSystemError(code);
        ReportFileFailure(FailureKind::Delete, msg::kFailedDeleting, index);
    }
}

void TestRun::EndOfRun()
{
    const int numFiles = m_parameters.numFiles;
    if (m_fileHandles) {
        for (int i = 0; i < numFiles; ++i) {
            m_fileHandles[i].Close();
        }
    }
    m_extraHandle.Close();

    // Only the files this run created or opened are deleted: a name it was
    // refused (another user's file, say) is not its to delete. A run that
    // never held its folder deletes nothing: it may be another run's.
    if (m_folder.IsOpen()) {
        for (int i = 0; i < numFiles; ++i) {
            if (m_made.test(MadeBit(i))) {
                DeleteFile(i);
            }
        }
        if (m_parameters.simultaneous != 0 && m_made.test(MadeBit(kExtraFileIndex))) {
            DeleteFile(kExtraFileIndex);
        }
    }
    m_folder.Close();

    EndFigures();
    m_outcome.undeletedFiles = m_undeletedFiles;
    m_outcome.fileAccess = m_fileAccess;
    m_sampler.reset();
    m_dataBuffer = AlignedBuffer();
    m_fileHandles.reset();
    m_samples.reset();
}

}  // namespace kel
