#include "app/win32/WinRecordChooser.h"

#include <commdlg.h>

namespace kel {

std::optional<std::filesystem::path> ChooseRecordFile(HWND owner, const wchar_t* title, bool save,
                                                      const std::wstring& proposedName)
{
    std::wstring path = proposedName;
    path.resize(32768, L'\0');
    OPENFILENAMEW chooser {};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = owner;
    chooser.lpstrFilter = L"Run records (*.json)\0*.json\0";
    chooser.lpstrFile = path.data();
    chooser.nMaxFile = static_cast<DWORD>(path.size());
    chooser.lpstrTitle = title;
    chooser.lpstrDefExt = L"json";
    chooser.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                    (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&chooser) : GetOpenFileNameW(&chooser);
    if (chosen == FALSE) {
        return std::nullopt;
    }
    path.resize(path.find(L'\0'));
    return std::filesystem::path(path);
}

}  // namespace kel
