#include "platform/AlignedBuffer.h"

namespace kel {

AlignedBuffer::AlignedBuffer(std::size_t bytes, std::size_t alignment)
{
    const std::size_t rounded = (bytes + alignment - 1) / alignment * alignment;
    if (rounded == 0) {
        return;
    }
    m_data.reset(static_cast<std::uint8_t*>(std::aligned_alloc(alignment, rounded)));
    if (m_data) {
        m_size = bytes;
    }
}

}  // namespace kel
