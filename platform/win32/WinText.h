#pragma once
// Text at the system boundary: the program keeps UTF-8, the wide calls take
// UTF-16. Also a handle owned by its scope, closed with the thread's last
// error kept as it was, so a failure's reason survives the clean-up.

#include <string>
#include <string_view>

#include <windows.h>

namespace kel {

// UTF-16 from UTF-8; bytes that are not UTF-8 become U+FFFD.
std::wstring Widen(std::string_view utf8);
// UTF-8 from UTF-16; unpaired surrogates become U+FFFD.
std::string Narrow(std::wstring_view utf16);

class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle() { Reset(); }
    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE Get() const { return m_handle; }
    HANDLE Release()
    {
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return handle;
    }
    void Reset(HANDLE handle = INVALID_HANDLE_VALUE)
    {
        if (IsValid()) {
            const DWORD error = GetLastError();
            CloseHandle(m_handle);
            SetLastError(error);
        }
        m_handle = handle;
    }

private:
    HANDLE m_handle;
};

}  // namespace kel
