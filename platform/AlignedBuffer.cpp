#include "platform/AlignedBuffer.h"

namespace kel {

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
