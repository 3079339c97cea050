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
    AlignedBuffer(std::size_t bytes, std::size_t alignment);

    bool IsValid() const { return m_data != nullptr; }
    std::uint8_t* Data() const { return m_data.get(); }
    std::size_t Size() const { return m_size; }

private:
    std::unique_ptr<std::uint8_t, AlignedFree> m_data;
    std::size_t m_size = 0;
};

}  // namespace kel
