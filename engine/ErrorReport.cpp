#include "engine/ErrorReport.h"

#include "platform/SystemError.h"

namespace kel {

std::string ComposeErrorReport(const std::string& message, int code, const std::string& systemText)
{
    std::string text = message + "\n-> Error " + std::to_string(code) + ":  " + systemText;
    if (text.size() > kMaxReportBytes) {
        std::size_t cut = kMaxReportBytes;
        // Back off UTF-8 continuation bytes so no character is split.
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        text.resize(cut);
    }
    return text;
}

void ReportError(MessageSink& sink, const std::string& message, const std::atomic<std::int32_t>* cancel)
{
    const int code = LastSystemError();
    sink.ShowMessageBox(ComposeErrorReport(message, code, SystemErrorText(code)), kErrorBox, cancel);
}

void ShowPlainMessage(MessageSink& sink, const std::string& message, const std::atomic<std::int32_t>* cancel)
{
    sink.ShowMessageBox(message, kPlainBox, cancel);
}

}  // namespace kel
