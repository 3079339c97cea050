#include "engine/VerifyPipeline.h"

#include <algorithm>
#include <chrono>
#include <limits>

namespace kel {

namespace {
// The ring holds about this much, in 2 to 16 blocks. Small enough that a
// block is still in the processor's cache when the drive takes it (writing)
// or the helper checks it (reading): with an 8 MB ring, 1 MB reads were
// checked from main memory and the drive's transfers slowed by a quarter.
constexpr std::uint64_t kRingBytes = 3u * 1048576u;
constexpr std::uint64_t kMaxSlots = 16;
constexpr std::uint32_t kMeasureBytes = 1048576;
}  // namespace

VerifyPipeline::~VerifyPipeline()
{
    if (m_helper.joinable()) {
        {
            std::lock_guard lock(m_mutex);
            m_quit = true;
        }
        m_helperWake.notify_one();
        m_helper.join();
    }
}

VerifyPipeline::StartResult VerifyPipeline::Start(const BlockLayout& layout, std::size_t alignment,
                                                  std::uint64_t runId)
{
    m_layout = layout;
    m_runId = runId;
    m_slots = std::clamp<std::uint64_t>(kRingBytes / layout.bufBytes, 2, kMaxSlots);
    m_slotStride = (layout.bufBytes + alignment - 1) / alignment * alignment;
    if (m_slotStride > std::numeric_limits<std::size_t>::max() / m_slots) {
        return StartResult::NoMemory;
    }
    m_ring = AlignedBuffer(m_slotStride * static_cast<std::size_t>(m_slots), alignment);
    if (!m_ring.IsValid()) {
        return StartResult::NoMemory;
    }
    try {
        m_helper = std::thread(&VerifyPipeline::HelperLoop, this);
    } catch (...) {
        return StartResult::NoThread;
    }
    return StartResult::Started;
}

void VerifyPipeline::MeasureRates(double& generatorRate, double& checkerRate)
{
    // The helper touches the ring only during a pass.
    const auto bytes = static_cast<std::uint32_t>(std::min<std::size_t>(m_ring.Size(), kMeasureBytes)) / 8 * 8;
    const StampKey key {m_runId, 0, 0};
    const auto best = [&](auto work) {
        double fastest = std::numeric_limits<double>::max();
        for (int round = 0; round < 3; ++round) {
            const auto start = std::chrono::steady_clock::now();
            work();
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            fastest = std::min(fastest, took.count());
        }
        return fastest > 0.0 ? bytes / fastest / 1048576.0 : 0.0;
    };
    generatorRate = best([&] { FillStamped(m_ring.Data(), key, 0, bytes); });
    volatile bool matched = true;  // keeps the check from being optimised away
    checkerRate = best([&] { matched = CheckStamped(m_ring.Data(), key, 0, bytes).kind == MismatchKind::None; });
}

VerifyPipeline::Place VerifyPipeline::PlaceOf(std::uint64_t position) const
{
    const std::uint64_t blocks = m_layout.blocksPerFile;
    const auto files = static_cast<std::uint64_t>(m_layout.numFiles);
    // Write passes go file by file, read passes sweep by sweep.
    const bool write = m_mode == Mode::Write;
    const std::uint64_t file = write ? position / blocks : position % files;
    const std::uint64_t block = write ? position % blocks : position / files;
    const std::uint32_t bytes = block + 1 < blocks ? m_layout.bufBytes : m_layout.lastBlockBytes;
    return Place {{m_runId, static_cast<int>(file), m_pass}, block * m_layout.bufBytes, bytes};
}

void VerifyPipeline::Begin(Mode mode, std::uint32_t pass)
{
    {
        std::unique_lock lock(m_mutex);
        m_mainWaiting = true;
        m_mainWake.wait(lock, [this] { return !m_helperBusy; });
        m_mainWaiting = false;
        m_mode = mode;
        m_pass = pass;
        m_passBlocks = static_cast<std::uint64_t>(m_layout.numFiles) * m_layout.blocksPerFile;
        m_mainCount.store(0);
        m_helperCount.store(0);
    }
    m_helperWake.notify_one();
}

bool VerifyPipeline::HelperHasWork() const
{
    const std::uint64_t made = m_helperCount.load();
    const std::uint64_t taken = m_mainCount.load();
    if (m_mode == Mode::Write) {
        return made < m_passBlocks && made - taken < m_slots;
    }
    return m_mode == Mode::Read && made < taken;
}

bool VerifyPipeline::HelperShouldWake() const
{
    const std::uint64_t made = m_helperCount.load();
    const std::uint64_t taken = m_mainCount.load();
    const std::uint64_t half = m_slots / 2;
    if (m_mode == Mode::Write) {
        return made < m_passBlocks && m_slots - (made - taken) >= half;
    }
    return m_mode == Mode::Read && (taken - made >= half || (m_draining && made < taken));
}

void VerifyPipeline::WakeHelperIfDue()
{
    // The helper marks itself waiting before it looks at the counts, and the
    // counts are stored before this looks at the mark: one of the two sees
    // the other, so no wake-up is lost.
    if (m_helperWaiting.load() && HelperShouldWake()) {
        std::lock_guard lock(m_mutex);  // the helper holds it until it sleeps
        m_helperWake.notify_one();
    }
}

template <typename Ready>
void VerifyPipeline::WaitForHelper(Ready ready)
{
    if (ready()) {
        return;
    }
    std::unique_lock lock(m_mutex);
    m_mainWaiting = true;
    m_mainWake.wait(lock, ready);
    m_mainWaiting = false;
}

void VerifyPipeline::BeginWrite(std::uint32_t pass)
{
    Begin(Mode::Write, pass);
    // The pass's clock starts with the ring full.
    const std::uint64_t ready = std::min(m_slots, m_passBlocks);
    WaitForHelper([this, ready] { return m_helperCount.load() >= ready; });
}

std::uint8_t* VerifyPipeline::NextWriteBlock()
{
    const std::uint64_t taken = m_mainCount.load(std::memory_order_relaxed);
    if (m_helperCount.load() <= taken) {
        ++m_waits;
        WaitForHelper([this, taken] { return m_helperCount.load() > taken; });
    }
    return Slot(taken);
}

void VerifyPipeline::Written()
{
    m_mainCount.store(m_mainCount.load(std::memory_order_relaxed) + 1);
    WakeHelperIfDue();
}

void VerifyPipeline::BeginRead(std::uint32_t writtenPass)
{
    Begin(Mode::Read, writtenPass);
}

std::uint8_t* VerifyPipeline::NextReadBlock()
{
    const std::uint64_t filled = m_mainCount.load(std::memory_order_relaxed);
    if (filled - m_helperCount.load() >= m_slots) {
        ++m_waits;
        WaitForHelper([this, filled] { return filled - m_helperCount.load() < m_slots; });
    }
    return Slot(filled);
}

void VerifyPipeline::ReadDone()
{
    m_mainCount.store(m_mainCount.load(std::memory_order_relaxed) + 1);
    WakeHelperIfDue();
}

void VerifyPipeline::Drain()
{
    std::unique_lock lock(m_mutex);
    m_draining = true;
    m_helperWake.notify_one();
    m_mainWaiting = true;
    m_mainWake.wait(lock, [this] { return m_helperCount.load() == m_mainCount.load(); });
    m_mainWaiting = false;
    m_draining = false;
}

void VerifyPipeline::DoBlock(Mode mode, std::uint64_t position)
{
    const Place place = PlaceOf(position);
    std::uint8_t* slot = Slot(position);
    if (mode == Mode::Write) {
        FillStamped(slot, place.key, place.offset, place.bytes);
        return;
    }
    if (m_failed.load(std::memory_order_relaxed)) {
        return;  // the run ends at its next test; the first mismatch is kept
    }
    const DataMismatch mismatch = CheckStamped(slot, place.key, place.offset, place.bytes);
    if (mismatch.kind == MismatchKind::None) {
        m_bytesChecked.fetch_add(place.bytes, std::memory_order_release);
    } else {
        m_mismatch = mismatch;
        m_failed.store(true, std::memory_order_release);
    }
}

void VerifyPipeline::HelperLoop()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (!m_quit && !HelperHasWork()) {
            m_helperWaiting.store(true);
            m_helperWake.wait(lock, [this] { return m_quit || HelperShouldWake(); });
            m_helperWaiting.store(false);
        }
        if (m_quit) {
            return;
        }
        const Mode mode = m_mode;
        const std::uint64_t position = m_helperCount.load();
        m_helperBusy = true;
        lock.unlock();
        DoBlock(mode, position);
        m_helperCount.store(position + 1);
        lock.lock();
        m_helperBusy = false;
        if (m_mainWaiting) {
            m_mainWake.notify_one();
        }
    }
}

}  // namespace kel
