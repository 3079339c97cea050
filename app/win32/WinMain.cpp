// The Windows program's start: the drive table, the settings file, the
// presets and the manual beside the program (the source tree's for a build
// that was not installed), and the main dialog run modally until it closes.
#include "app/win32/WinMessageBoxes.h"
#include "app/win32/WinPerfDialog.h"
#include "drives/DriveDiscovery.h"
#include "platform/DriveTable.h"
#include "platform/win32/WinText.h"
#include "settings/PresetTable.h"
#include "settings/SettingsLocation.h"

#include <windows.h>

#include <filesystem>

namespace {

std::filesystem::path ProgramFolder()
{
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return std::filesystem::path(path).parent_path();
}

// Once the dialog exists, every box is modal to it.
class OwnerOfBoxes : public kel::DialogWatcher {
public:
    explicit OwnerOfBoxes(kel::WinMessageBoxes& boxes) : m_boxes(boxes) {}
    void DialogOpened(HWND dialog) override { m_boxes.SetOwner(dialog); }

private:
    kel::WinMessageBoxes& m_boxes;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // Drawn at the screen's own scale rather than stretched blurred by the
    // system: the dialog's units follow the font, the results view its ratio.
    SetProcessDPIAware();
    kel::FillDriveTable(kel::SystemDriveTable());
    kel::WinMessageBoxes boxes;
    kel::PlatformServices services = kel::DefaultPlatformServices();
    services.messages = &boxes;

    const std::filesystem::path folder = ProgramFolder();
    kel::DialogFiles files;
    files.settings = kel::SettingsFilePath();
    files.shippedPresets = kel::ShippedPresetsPath(folder, KELT_RES_SOURCE_DIR);
    files.help = folder / "keltally.html";
    if (!std::filesystem::exists(files.help)) {
        files.help = std::filesystem::path(KELT_RES_SOURCE_DIR) / "help" / "keltally.html";
    }
    OwnerOfBoxes owner(boxes);
    kel::WinPerfDialog dialog(services, files, &owner);
    dialog.DoModal(instance);
    return 0;
}
