#pragma once
// One run of the worker thread: set-up, write passes, read passes and the end
// of the run, which closes and deletes the test files however the run ends.

#include "engine/PassSampler.h"
#include "engine/TestFileName.h"
#include "platform/AlignedBuffer.h"
#include "platform/FileBackend.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace kel {

class DriveTester;

class TestRun {
public:
    explicit TestRun(DriveTester& tester);
    TestRun(const TestRun&) = delete;
    TestRun& operator=(const TestRun&) = delete;

    // The whole run; the tester's running flag is clear when it returns.
    void Execute();

private:
    bool SetUp();
    bool WritePasses();
    bool ReadPasses();
    bool ReadPass();
    void EndOfRun();

    // The two tests after every step that can fail: false ends the run.
    bool RunTests() const;
    std::uint32_t BlockBytes(std::uint32_t block) const
    {
        return block + 1 < m_blocksPerFile ? m_bufBytes : m_lastBlockBytes;
    }
    // Puts the name of file index into the name buffer and reports the failure.
    void ReportFileFailure(const char* message, int index);
    // The sample check after a transfer or sweep; false ends the run.
    bool SampleCheck();
    bool FinishPass();

    DriveTester& m_tester;
    std::uint32_t m_bufBytes = 0;
    std::uint32_t m_blocksPerFile = 0;
    std::uint32_t m_lastBlockBytes = 0;
    std::uint32_t m_transferGranule = 0;
    TestFileName m_fileName;
    AlignedBuffer m_dataBuffer;
    std::unique_ptr<FileHandle[]> m_fileHandles;
    FileHandle m_extraHandle;
    std::unique_ptr<double[]> m_samples;
    std::optional<PassSampler> m_sampler;
    bool m_errorFlag = false;
    std::int32_t m_passIndex = 0;
};

}  // namespace kel
