#pragma once
// The engine's message boxes in the dialog program. A box asked for by the
// worker thread is shown by the GUI thread; the worker waits until the user
// has dismissed it, but no longer than until its cancel flag is set, because a
// stop request blocks the GUI thread until the worker has finished. A box
// asked for on the GUI thread is shown without waiting.

#include "platform/MessageSink.h"

#include <QPointer>

class QWidget;

namespace kel {

class GuiMessageSink : public MessageSink {
public:
    // Boxes are modal to the window set here (none: to the application).
    void SetParentWindow(QWidget* parent);

    void ShowMessageBox(const std::string& text, unsigned type,
                        const std::atomic<std::int32_t>* cancel) override;

private:
    QPointer<QWidget> m_parent;
};

}  // namespace kel
