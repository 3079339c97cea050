#include "platform/win32/Win32Services.h"

#include <windows.h>

namespace kel {

bool Win32Clock::QueryFrequency(std::uint64_t& ticksPerSec)
{
    LARGE_INTEGER frequency {};
    if (!m_highResolution || !QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0) {
        return false;
    }
    ticksPerSec = static_cast<std::uint64_t>(frequency.QuadPart);
    return true;
}

std::uint64_t Win32Clock::QueryCounter()
{
    LARGE_INTEGER now {};
    QueryPerformanceCounter(&now);
    return static_cast<std::uint64_t>(now.QuadPart);
}

std::uint32_t Win32Clock::TickCount()
{
    return GetTickCount();
}

}  // namespace kel
