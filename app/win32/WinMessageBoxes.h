#pragma once
// Message boxes of the Windows dialog program: modal to the dialog, OK only.
// A box asked for on the worker thread runs on that thread (the worker never
// waits for the dialog's thread); it closes itself as soon as its cancel flag
// is set, because a stop request blocks the dialog's thread until the worker
// has finished.

#include "platform/MessageSink.h"

#include <windows.h>

namespace kel {

class WinMessageBoxes : public MessageSink {
public:
    // Boxes are owned by this window from now on (none: no owner).
    void SetOwner(HWND owner) { m_owner = owner; }

    void ShowMessageBox(const std::string& text, unsigned type,
                        const std::atomic<std::int32_t>* cancel) override;

private:
    HWND m_owner = nullptr;
};

}  // namespace kel
