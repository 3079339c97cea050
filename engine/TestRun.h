#pragma once
// One run of the worker thread: set-up, write passes, read passes and the end
// of the run, which closes and deletes the test files however the run ends.

#include "engine/PassFigures.h"
#include "engine/PassSampler.h"
#include "engine/PassWatch.h"
#include "engine/RunClock.h"
#include "engine/RunObservers.h"
#include "engine/RunOutcome.h"
#include "engine/RunParameters.h"
#include "engine/TestFileName.h"
#include "engine/VerifyPipeline.h"
#include "platform/AlignedBuffer.h"
#include "platform/FileBackend.h"
#include "platform/MessageSink.h"

#include <atomic>
#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kel {

// What one run works with: its parameters and folder, the services it runs
// on, and the flag through which a stop is requested.
struct RunContext {
    RunParameters parameters;
    std::string rootPath;
    FileBackend& files;
    RunClock clock;
    MessageSink& messages;
    PassResultSink* graph;  // may be null
    const std::atomic<std::int32_t>& stopRequested;
    RunOptions options {};
};

class TestRun {
public:
    explicit TestRun(const RunContext& context);
    TestRun(const TestRun&) = delete;
    TestRun& operator=(const TestRun&) = delete;

    // The whole run, ending with the test files closed and deleted. A stop
    // request is not judged here: the outcome tells what the run saw.
    RunOutcome Execute();

private:
    bool SetUp();
    // Opens and locks the test folder for the whole run; false when the run must end.
    bool HoldFolder();
    bool WritePasses();
    bool ReadPasses();
    bool ReadPass();
    void EndOfRun();
    // Deletes the file of that index; a failure is reported when nothing came before.
    void DeleteFile(int index);

    // The two tests after every step that can fail: false ends the run.
    bool RunTests() const;
    std::uint32_t BlockBytes(std::uint32_t block) const
    {
        return block + 1 < m_blocksPerFile ? m_bufBytes : m_lastBlockBytes;
    }
    // Opens one file into handle; false when the run must end.
    bool OpenFile(int index, TestFileMode mode, FileHandle& handle);
    bool OpenTestFiles(TestFileMode mode);
    // One transfer of block bytes to or from the file of that index, counted
    // or reported; false when the run must end.
    bool Transfer(FileHandle& file, int index, std::uint32_t bytes, bool write);
    // Closes every open file; only the first failure, if none came before, is reported.
    bool CloseFiles();
    // Puts the name of file index into the name buffer and reports the failure.
    void ReportFileFailure(FailureKind kind, const char* message, int index);
    // The bit of m_made for a file index.
    static std::size_t MadeBit(int index) { return index == kExtraFileIndex ? 100u : static_cast<std::size_t>(index); }
    // Keeps the first failure, of that kind, as the run's outcome.
    void Fail(FailureKind kind, RunOutcome failure);
    // The sample check after a transfer or sweep; false ends the run.
    bool SampleCheck();
    // Ends the pass's sampling and hands the pass to the view.
    bool FinishPass(bool isWrite);

    // Stamped data and the figures beyond the rates (TestRunFigures.cpp).
    bool SetUpVerify();
    // Begins the pass's verified data, then its clock: sampling and watch.
    void StartPass(bool isWrite);
    // The buffer of one transfer, and what follows its success.
    std::uint8_t* TransferData(int index, bool write);
    void TransferDone(int index, bool write);
    // Waits for the check of the pass's last blocks; false ends the run.
    bool CheckedReadPass();
    void ReportMismatch();
    PassFigures Figures(bool isWrite) const;
    void EndFigures();

    RunContext m_context;
    const RunParameters& m_parameters;
    std::uint32_t m_bufBytes = 0;
    std::uint32_t m_blocksPerFile = 0;
    std::uint32_t m_lastBlockBytes = 0;
    std::uint32_t m_transferGranule = 0;
    TestFileName m_fileName;
    FolderHandle m_folder;
    std::bitset<101> m_made;  // the files this run has created or opened
    AlignedBuffer m_dataBuffer;
    std::unique_ptr<FileHandle[]> m_fileHandles;
    FileHandle m_extraHandle;
    std::unique_ptr<double[]> m_samples;
    std::optional<PassSampler> m_sampler;
    PassWatch m_watch;
    Ticks64 m_now;  // the clock reading after the latest transfer
    double m_sampleSeconds = 0.0;
    std::unique_ptr<VerifyPipeline> m_verify;
    RunFigures m_figures;
    std::uint64_t m_checkedAtPassStart = 0;
    RunOutcome m_outcome;
    std::vector<std::string> m_undeletedFiles;
    FileAccess m_fileAccess = FileAccess::None;
    bool m_errorFlag = false;
    std::int32_t m_passIndex = 0;
};

}  // namespace kel
