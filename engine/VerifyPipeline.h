#pragma once
// Stamped data off the transfer loop. A helper thread works on a ring of
// transfer buffers beside the run's thread: in a write pass it makes the
// blocks ahead of the writes, in a read pass it checks the blocks behind the
// reads, so the timed transfers wait for it only when the CPU is slower than
// the drive. Both sides sleep rather than spin; the run's side wakes the
// helper only once half the ring is ready for it, not per transfer.
//
// The blocks go in the run's order: a write pass file by file, each from its
// first block to its last; a read pass sweep by sweep, one block of every file.

#include "engine/PassFigures.h"
#include "engine/SectorStamp.h"
#include "platform/AlignedBuffer.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace kel {

struct BlockLayout {
    int numFiles = 0;
    std::uint32_t blocksPerFile = 0;
    std::uint32_t bufBytes = 0;
    std::uint32_t lastBlockBytes = 0;
};

class VerifyPipeline {
public:
    enum class StartResult { Started, NoMemory, NoThread };

    VerifyPipeline() = default;
    VerifyPipeline(const VerifyPipeline&) = delete;
    VerifyPipeline& operator=(const VerifyPipeline&) = delete;
    // Ends and joins the helper, wherever a pass stands.
    ~VerifyPipeline();

    StartResult Start(const BlockLayout& layout, std::size_t alignment, std::uint64_t runId);

    // The stamp generator's and checker's own rates, MB/s, on one core.
    void MeasureRates(double& generatorRate, double& checkerRate);

    // A write pass (from 0): the next block to write, once the helper has
    // made it; Written when its write has returned.
    void BeginWrite(std::uint32_t pass);
    std::uint8_t* NextWriteBlock();
    void Written();

    // A read pass of what write pass writtenPass left: a buffer to read the
    // next block into; ReadDone when it holds it. LastRead is the block read last.
    void BeginRead(std::uint32_t writtenPass);
    std::uint8_t* NextReadBlock();
    void ReadDone();
    std::uint8_t* LastRead() const { return Slot(m_mainCount.load(std::memory_order_relaxed) - 1); }
    // Waits until every block read so far has been checked.
    void Drain();

    bool Failed() const { return m_failed.load(std::memory_order_acquire); }
    // The first mismatch; valid once Failed() is true.
    const DataMismatch& Mismatch() const { return m_mismatch; }
    std::uint64_t BytesChecked() const { return m_bytesChecked.load(std::memory_order_acquire); }
    // Blocks the run's side had to wait for during a pass.
    std::uint64_t Waits() const { return m_waits; }

private:
    enum class Mode { Idle, Write, Read };
    struct Place {
        StampKey key;
        std::uint64_t offset;
        std::uint32_t bytes;
    };

    std::uint8_t* Slot(std::uint64_t count) const { return m_ring.Data() + (count % m_slots) * m_slotStride; }
    Place PlaceOf(std::uint64_t position) const;
    void Begin(Mode mode, std::uint32_t pass);
    // Whether the helper has anything to do, and whether enough to be woken for.
    bool HelperHasWork() const;
    bool HelperShouldWake() const;
    void WakeHelperIfDue();
    // Sleeps until ready() holds; the helper wakes the run's side after every block.
    template <typename Ready>
    void WaitForHelper(Ready ready);
    void HelperLoop();
    void DoBlock(Mode mode, std::uint64_t position);

    BlockLayout m_layout;
    std::uint64_t m_runId = 0;
    std::uint64_t m_slots = 0;
    std::size_t m_slotStride = 0;
    AlignedBuffer m_ring;
    std::thread m_helper;

    std::mutex m_mutex;
    std::condition_variable m_helperWake;
    std::condition_variable m_mainWake;
    // Set under the mutex; read by the helper under it.
    Mode m_mode = Mode::Idle;
    std::uint32_t m_pass = 0;
    std::uint64_t m_passBlocks = 0;
    bool m_draining = false;
    bool m_quit = false;
    bool m_helperBusy = false;
    // Blocks the run's side has taken (write) or filled (read), and blocks the
    // helper has made (write) or checked (read), in this pass.
    std::atomic<std::uint64_t> m_mainCount {0};
    std::atomic<std::uint64_t> m_helperCount {0};
    std::atomic<bool> m_helperWaiting {false};
    std::atomic<bool> m_mainWaiting {false};
    std::atomic<bool> m_failed {false};
    std::atomic<std::uint64_t> m_bytesChecked {0};
    DataMismatch m_mismatch;
    std::uint64_t m_waits = 0;  // the run's side only
};

}  // namespace kel
