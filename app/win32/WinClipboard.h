#pragma once
// Text on the Windows clipboard (CF_UNICODETEXT), its line ends as the
// system's programs expect them (CR LF).

#include <windows.h>

#include <string_view>

namespace kel {

// Replaces the clipboard's contents with text (UTF-8, lines ended by LF);
// false when the clipboard could not be had.
bool CopyTextToClipboard(HWND owner, std::string_view text);

}  // namespace kel
