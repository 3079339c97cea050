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

RunOutcome ReportError(MessageSink& sink, const std::string& message, const std::atomic<std::int32_t>* cancel)
{
    const int code = LastSystemError();
    RunOutcome failure {RunResult::Failed, ComposeErrorReport(message, code, SystemErrorText(code)), code, {}};
    sink.ShowMessageBox(failure.errorText, kErrorBox, cancel);
    return failure;
}

RunOutcome ShowPlainMessage(MessageSink& sink, const std::string& message, const std::atomic<std::int32_t>* cancel)
{
    sink.ShowMessageBox(message, kPlainBox, cancel);
    return RunOutcome {RunResult::Failed, message, 0, {}};
}

}  // namespace kel
