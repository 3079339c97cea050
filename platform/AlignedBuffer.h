#pragma once
// A heap block with a given alignment, as direct I/O needs for its buffers.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace kel {

// Frees a block of the aligned form of operator new.
struct AlignedFree {
    std::align_val_t alignment {};
    void operator()(std::uint8_t* p) const { ::operator delete(p, alignment); }
};

class AlignedBuffer {
public:
    AlignedBuffer() = default;
    // Allocates bytes (rounded up to the alignment, a power of two); IsValid()
    // tells whether it worked.
    inline AlignedBuffer(std::size_t bytes, std::size_t alignment);

    bool IsValid() const { return m_data != nullptr; }
    std::uint8_t* Data() const { return m_data.get(); }
    std::size_t Size() const { return m_size; }

private:
    std::unique_ptr<std::uint8_t, AlignedFree> m_data;
    std::size_t m_size = 0;
};

AlignedBuffer::AlignedBuffer(std::size_t bytes, std::size_t alignment)
{
    const std::size_t rounded = (bytes + alignment - 1) / alignment * alignment;
    if (rounded == 0) {
        return;
    }
    // The aligned form of operator new: the C runtime of Windows has no aligned_alloc.
    const auto align = static_cast<std::align_val_t>(alignment);
    m_data = std::unique_ptr<std::uint8_t, AlignedFree>(
        static_cast<std::uint8_t*>(::operator new(rounded, align, std::nothrow)), AlignedFree {align});
    if (m_data) {
        m_size = bytes;
    }
}

}  // namespace kel
