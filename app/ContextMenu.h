#pragma once
// The main window's context menu: the graph's scale, Save Results, Copy
// Results, Open Results and Compare With, Save as Preset and Delete Preset,
// Verify Data, then
// the items a title-bar menu would hold: the window's own commands, a
// separator and the About item.

#include "view/GraphScale.h"

#include <functional>

class QMenu;
class QWidget;

namespace kel {

// Command ids of the title-bar menu's items. The low four bits of a command
// id are the system's own; the About item is 16.
constexpr int kAboutCommand = 0x0010;
constexpr int kMinimizeCommand = 0xF020;
constexpr int kCloseCommand = 0xF060;

struct ContextMenuActions {
    GraphScale currentScale;
    bool hasResults = false;  // Copy Results is enabled once a pass has been drawn
    bool canSave = false;     // Save Results also needs the run to have ended
    std::function<void()> onSaveResults;
    std::function<void(const GraphScale&)> onScale;
    std::function<void()> onCopyResults;
    bool canOpen = false;  // Open Results and Compare With: not during a run
    std::function<void()> onOpenResults;
    std::function<void()> onCompareWith;
    std::function<void(int commandId)> onCommand;
    bool presetsEnabled = false;   // not during a run
    bool canDeletePreset = false;  // the selected preset is the user's own
    std::function<void()> onSaveAsPreset;
    std::function<void()> onDeletePreset;
    bool verifyData = false;  // the Verify Data item is checked
    std::function<void(bool)> onVerifyData;
};

// A new menu owned by parent (none: by the caller).
QMenu* BuildContextMenu(QWidget* parent, const ContextMenuActions& actions);

}  // namespace kel
