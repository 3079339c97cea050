#pragma once
// The engine's two kinds of message box: the plain box and the error report,
// which adds the system's error code and text to the message. Each returns
// the failure it showed, as a run's outcome.

#include "engine/RunOutcome.h"
#include "platform/MessageSink.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace kel {

// Longest error report shown, in bytes, as the original's 512-character buffer.
constexpr std::size_t kMaxReportBytes = 511;

// "message\n-> Error code:  text". A report that would be longer than
// kMaxReportBytes is cut at a character boundary.
std::string ComposeErrorReport(const std::string& message, int code, const std::string& systemText);

// The same for a message whose format takes the name of a file or folder in
// its "%s". When the report would be longer than kMaxReportBytes the name is
// shortened in its middle, its start and end kept, so that the code and the
// text always survive.
std::string ComposeNamedReport(const char* format, const std::string& name, int code, const std::string& text);

// The text shown for a failed file operation's code: the program's own for a
// name it leaves alone or a short transfer (ForeignNames.h), else the system's.
std::string FileErrorText(int code);

// Takes the thread's last system error first, so it is the failed call's.
RunOutcome ReportError(MessageSink& sink, const std::string& message, const std::atomic<std::int32_t>* cancel);

// Reports a failure on the named file or folder with the code and text given.
RunOutcome ReportNamedError(MessageSink& sink, const char* format, const std::string& name, int code,
                            const std::string& text, const std::atomic<std::int32_t>* cancel);

RunOutcome ShowPlainMessage(MessageSink& sink, const std::string& message, const std::atomic<std::int32_t>* cancel);

}  // namespace kel
