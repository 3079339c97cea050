#pragma once
// The system's Save and Open boxes for a run record (*.json).

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

namespace kel {

// Asks for the record to write (save: proposing proposedName, asking before
// it replaces a file) or to read; nothing when the user cancels.
std::optional<std::filesystem::path> ChooseRecordFile(HWND owner, const wchar_t* title, bool save,
                                                      const std::wstring& proposedName = {});

}  // namespace kel
