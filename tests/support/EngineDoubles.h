#pragma once
// Doubles for the engine's services: an in-memory file back-end that logs
// every operation and fails the n-th call of a kind on request, a clock that
// moves only when told (or with each transfer), and sinks that record what
// the engine shows and hands over.

#include "engine/RunObservers.h"
#include "platform/FileBackend.h"
#include "platform/MessageSink.h"
#include "platform/PlatformServices.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace kel::test {

class VirtualClock : public ClockSource {
public:
    explicit VirtualClock(std::uint64_t ticksPerSec = 1000000, bool highResolution = true)
        : m_ticksPerSec(ticksPerSec), m_highResolution(highResolution)
    {
    }
    bool QueryFrequency(std::uint64_t& ticksPerSec) override
    {
        if (m_highResolution) {
            ticksPerSec = m_ticksPerSec;
        }
        return m_highResolution;
    }
    std::uint64_t QueryCounter() override { return m_now.load(); }
    std::uint32_t TickCount() override { return static_cast<std::uint32_t>(m_now.load()); }
    void Advance(std::uint64_t ticks) { m_now += ticks; }
    std::uint64_t Now() const { return m_now.load(); }

private:
    std::uint64_t m_ticksPerSec;
    bool m_highResolution;
    std::atomic<std::uint64_t> m_now {1000};
};

enum class Op { Open, Read, Write, Close, Remove, Folder };

class FakeFileBackend : public FileBackend {
public:
    explicit FakeFileBackend(VirtualClock* clock = nullptr) : m_clock(clock) {}

    // The n-th call (from 1) of op fails with the system error code, counted from now on;
    // several calls of one kind may be set to fail.
    void FailNth(Op op, int n, int code);
    // The n-th call of op (a read or write) moves only half of what it was asked.
    void ShortNth(Op op, int n);
    // The clock moves by this much on every read or write (per transfer) and per byte.
    void SetTransferTime(std::uint64_t ticksPerTransfer, std::uint64_t ticksPerMiB = 0)
    {
        m_ticksPerTransfer = ticksPerTransfer;
        m_ticksPerMiB = ticksPerMiB;
    }
    // Called before each transfer's clock advance, from the worker thread.
    void SetTransferHook(std::function<void()> hook) { m_hook = std::move(hook); }
    // After this many bytes written from now on, writes take ticksPerMiB per MiB.
    void SetWriteRateFall(std::uint64_t afterBytes, std::uint64_t ticksPerMiB)
    {
        m_fallAfter = m_written + afterBytes;
        m_fallTicksPerMiB = ticksPerMiB;
    }

    // Data faults. KeepData stores what is written and reads it back; the
    // others need it. WrapPast: offsets at or past wrapBytes land at offset
    // modulo wrapBytes, as on a drive that claims more than it holds.
    void KeepData() { m_keepData = true; }
    void WrapPast(std::uint64_t wrapBytes) { m_wrap = wrapBytes; }
    // The n-th read from now on returns the file's data at offset instead.
    void ReadOtherOffsetNth(int n, std::uint64_t offset);
    // The n-th read from now on returns its data with one bit flipped.
    void FlipBitNth(int n, std::uint32_t bit);
    // The n-th read from now on returns zeros.
    void ZerosNth(int n);

    // One run at a time holds a folder: a second OpenFolder of the same path
    // fails with kErrorInUse until the first is closed.
    int OpenFolder(const char* path) override;
    bool CloseFolder(int folder) override;
    int Open(int folder, const char* name, TestFileMode mode, std::uint32_t transferGranule) override;
    std::int64_t Read(int fd, void* buffer, std::uint32_t bytes) override;
    std::int64_t Write(int fd, const void* buffer, std::uint32_t bytes) override;
    bool Close(int fd) override;
    bool Remove(int folder, const char* name) override;
    void FlushVolume(int folder) override;
    std::uint32_t BufferAlignment() const override { return 4096; }
    // The in-memory files count as direct unless a test says otherwise.
    bool TransfersDirectly(int) const override { return m_direct; }
    void SetDirect(bool direct) { m_direct = direct; }

    // "lock root", "open-c name", "open-r name", "read name 4096",
    // "write name 4096", "close name", "remove name", "flush root",
    // "unlock root": one line per call.
    std::vector<std::string> Log() const;
    std::vector<std::string> ExistingFiles() const;
    std::uint64_t FileSize(const std::string& name) const;
    int OpenCount() const;
    std::uint32_t LastGranule() const { return m_lastGranule; }

private:
    struct OpenFile {
        std::string name;
        bool writable;
        std::uint64_t position = 0;
    };
    struct DataFault {
        enum { OtherOffset, FlipBit, Zeros } kind;
        std::uint64_t value;
    };
    bool Fails(Op op, int& code);
    bool IsShort(Op op);
    void Tick(std::uint32_t bytes, bool write = false);
    void StoreData(const OpenFile& file, const void* buffer, std::uint32_t bytes);
    void LoadData(const OpenFile& file, void* buffer, std::uint32_t bytes);

    VirtualClock* m_clock;
    mutable std::mutex m_mutex;
    std::map<std::string, std::uint64_t> m_files;
    std::map<int, OpenFile> m_open;
    std::map<int, std::string> m_folders;  // held folders by descriptor
    int m_nextFd = 100;
    std::atomic<bool> m_direct {true};
    std::map<Op, int> m_calls;
    std::map<Op, std::map<int, int>> m_failures;  // op -> call number -> system error code
    std::map<Op, int> m_shorts;
    std::vector<std::string> m_log;
    std::uint64_t m_ticksPerTransfer = 0;
    std::uint64_t m_ticksPerMiB = 0;
    std::uint32_t m_lastGranule = 0;
    std::function<void()> m_hook;
    std::uint64_t m_written = 0;
    std::uint64_t m_fallAfter = 0;
    std::uint64_t m_fallTicksPerMiB = 0;
    bool m_keepData = false;
    std::uint64_t m_wrap = 0;
    std::map<std::string, std::vector<std::uint8_t>> m_data;
    std::map<int, DataFault> m_dataFaults;  // read call number -> fault
};

class CapturingMessageSink : public MessageSink {
public:
    struct Box {
        std::string text;
        unsigned type;
    };
    void ShowMessageBox(const std::string& text, unsigned type, const std::atomic<std::int32_t>*) override
    {
        std::lock_guard lock(m_mutex);
        m_boxes.push_back({text, type});
    }
    std::vector<Box> Boxes() const
    {
        std::lock_guard lock(m_mutex);
        return m_boxes;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<Box> m_boxes;
};

class RecordingResultSink : public PassResultSink {
public:
    struct Pass {
        int number;
        std::vector<double> samples;
        double rate;
        int isWrite;
    };
    struct Config {
        int readReps, writeReps, simultaneous, minRead, minWrite;
    };
    void ConfigureRun(int readReps, int writeReps, int simultaneous, int minRead, int minWrite) override
    {
        std::lock_guard lock(m_mutex);
        m_configs.push_back({readReps, writeReps, simultaneous, minRead, minWrite});
    }
    void AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate, int isWrite) override
    {
        std::lock_guard lock(m_mutex);
        m_passes.push_back({passNumber, std::vector<double>(samples, samples + sampleCount), passRate, isWrite});
    }
    void AddPassFigures(const PassFigures& figures) override
    {
        std::lock_guard lock(m_mutex);
        m_figures.push_back(figures);
    }
    std::vector<PassFigures> Figures() const
    {
        std::lock_guard lock(m_mutex);
        return m_figures;
    }
    std::vector<Pass> Passes() const
    {
        std::lock_guard lock(m_mutex);
        return m_passes;
    }
    std::vector<Config> Configs() const
    {
        std::lock_guard lock(m_mutex);
        return m_configs;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<Pass> m_passes;
    std::vector<Config> m_configs;
    std::vector<PassFigures> m_figures;
};

class RecordingDialog : public DialogWindow {
public:
    void PostWindowMessage(std::uint32_t message, std::intptr_t, std::intptr_t) override
    {
        if (message == WM_TEST_FINISHED) {
            ++m_finished;
        }
    }
    int Finished() const { return m_finished.load(); }

private:
    std::atomic<int> m_finished {0};
};

}  // namespace kel::test
