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

// Takes the thread's last system error first, so it is the failed call's.
RunOutcome ReportError(MessageSink& sink, const std::string& message, const std::atomic<std::int32_t>* cancel);

RunOutcome ShowPlainMessage(MessageSink& sink, const std::string& message, const std::atomic<std::int32_t>* cancel);

}  // namespace kel
