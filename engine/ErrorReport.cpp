#include "engine/ErrorReport.h"

#include "platform/SystemError.h"
#include "platform/TextRules.h"

namespace kel {

std::string ComposeErrorReport(const std::string& message, int code, const std::string& systemText)
{
    std::string text = message + "\n-> Error " + std::to_string(code) + ":  " + systemText;
    text.resize(CutUtf8(text, kMaxReportBytes).size());
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
