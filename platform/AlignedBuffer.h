#pragma once
// A heap block with a given alignment, as direct I/O needs for its buffers.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace kel {

class AlignedBuffer {
public:
    AlignedBuffer() = default;
    // Allocates bytes (rounded up to the alignment); IsValid() tells whether it worked.
    AlignedBuffer(std::size_t bytes, std::size_t alignment);

    bool IsValid() const { return m_data != nullptr; }
    std::uint8_t* Data() const { return m_data.get(); }
    std::size_t Size() const { return m_size; }

private:
    struct Free {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };
    std::unique_ptr<std::uint8_t, Free> m_data;
    std::size_t m_size = 0;
};

}  // namespace kel
