#pragma once
// Modal message boxes with a single OK button. The engine reports through this
// from its worker thread; the dialog, the headless runner and tests each put
// their own sink behind it.

#include <atomic>
#include <cstdint>
#include <string>

namespace kel {

enum BoxType : unsigned {
    kPlainBox = 0x00,  // the message alone
    kErrorBox = 0x10,  // stop icon; used for error reports
};

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows the box and returns when the user has dismissed it. A caller that
    // must not be kept waiting by a stop request passes its stop flag as cancel:
    // once the flag is nonzero the call returns without waiting any longer.
    virtual void ShowMessageBox(const std::string& text, unsigned type,
                                const std::atomic<std::int32_t>* cancel) = 0;
};

// Writes each box to standard error and returns at once.
class StderrMessageSink : public MessageSink {
public:
    void ShowMessageBox(const std::string& text, unsigned type,
                        const std::atomic<std::int32_t>* cancel) override;
};

}  // namespace kel
