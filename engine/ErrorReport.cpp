#include "engine/ErrorReport.h"

#include "platform/ForeignNames.h"
#include "platform/SystemError.h"
#include "platform/TextRules.h"

#include <string_view>

namespace kel {

namespace {

std::string CodeAndText(int code, const std::string& text)
{
    return "\n-> Error " + std::to_string(code) + ":  " + text;
}

RunOutcome Show(MessageSink& sink, std::string report, int code, const std::atomic<std::int32_t>* cancel)
{
    RunOutcome failure {RunResult::Failed, std::move(report), code, {}};
    sink.ShowMessageBox(failure.errorText, kErrorBox, cancel);
    return failure;
}

}  // namespace

std::string ComposeErrorReport(const std::string& message, int code, const std::string& systemText)
{
    std::string text = message + CodeAndText(code, systemText);
    text.resize(CutUtf8(text, kMaxReportBytes).size());
    return text;
}

std::string ComposeNamedReport(const char* format, const std::string& name, int code, const std::string& text)
{
    const std::string_view pattern(format);
    const auto at = pattern.find("%s");
    const std::string_view before = pattern.substr(0, at);
    const std::string_view after = at != std::string_view::npos ? pattern.substr(at + 2) : std::string_view();
    const std::string tail = CodeAndText(code, text);
    const std::size_t fixed = before.size() + after.size() + tail.size();
    const std::size_t room = fixed < kMaxReportBytes ? kMaxReportBytes - fixed : 0;
    const std::string shownName = at != std::string_view::npos ? ElideUtf8Middle(name, room) : std::string();
    // Only a system text of hundreds of bytes can still make it too long.
    return ComposeErrorReport(std::string(before) + shownName + std::string(after), code, text);
}

std::string FileErrorText(int code)
{
    const char* reason = ForeignNameReason(code);
    if (reason == nullptr) {
        reason = ShortTransferReason(code);
    }
    return reason != nullptr ? reason : SystemErrorText(code);
}

RunOutcome ReportError(MessageSink& sink, const std::string& message, const std::atomic<std::int32_t>* cancel)
{
    const int code = LastSystemError();
    return Show(sink, ComposeErrorReport(message, code, SystemErrorText(code)), code, cancel);
}

RunOutcome ReportNamedError(MessageSink& sink, const char* format, const std::string& name, int code,
                            const std::string& text, const std::atomic<std::int32_t>* cancel)
{
    return Show(sink, ComposeNamedReport(format, name, code, text), code, cancel);
}

RunOutcome ShowPlainMessage(MessageSink& sink, const std::string& message, const std::atomic<std::int32_t>* cancel)
{
    sink.ShowMessageBox(message, kPlainBox, cancel);
    return RunOutcome {RunResult::Failed, message, 0, {}};
}

}  // namespace kel
