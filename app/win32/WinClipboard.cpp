#include "app/win32/WinClipboard.h"

#include "platform/win32/WinText.h"

#include <cstring>
#include <memory>
#include <string>

namespace kel {

namespace {

struct GlobalFreer {
    void operator()(void* memory) const { GlobalFree(memory); }
};
using GlobalMemory = std::unique_ptr<void, GlobalFreer>;

// The clipboard, open for as long as it lives.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : m_open(OpenClipboard(owner) != FALSE) {}
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    ~OpenedClipboard()
    {
        if (m_open) {
            CloseClipboard();
        }
    }
    bool IsOpen() const { return m_open; }

private:
    bool m_open;
};

std::wstring WithCrLf(std::wstring_view text)
{
    std::wstring lines;
    lines.reserve(text.size() + text.size() / 16);
    for (const wchar_t c : text) {
        if (c == L'\n') {
            lines += L'\r';
        }
        lines += c;
    }
    return lines;
}

}  // namespace

bool CopyTextToClipboard(HWND owner, std::string_view text)
{
    const std::wstring wide = WithCrLf(Widen(text));
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) {
        return false;
    }
    void* target = GlobalLock(memory.get());
    if (target == nullptr) {
        return false;
    }
    std::memcpy(target, wide.c_str(), bytes);
    GlobalUnlock(memory.get());
    const OpenedClipboard clipboard(owner);
    if (!clipboard.IsOpen() || EmptyClipboard() == FALSE) {
        return false;
    }
    if (SetClipboardData(CF_UNICODETEXT, memory.get()) == nullptr) {
        return false;
    }
    memory.release();  // the clipboard owns it now
    return true;
}

}  // namespace kel
