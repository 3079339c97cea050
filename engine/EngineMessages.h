#pragma once
// The texts of the engine's message boxes. The file messages take the file's
// name, the folder message the folder's.

namespace kel::msg {

inline constexpr const char* kUnableToCreate = "Unable to create file \"%s\"";
inline constexpr const char* kUnableToOpen = "Unable to open file \"%s\"";
inline constexpr const char* kFailedWriting = "Failed writing to file \"%s\"";
inline constexpr const char* kFailedReading = "Failed reading from file \"%s\"";
inline constexpr const char* kFailedClosing = "Failed closing file \"%s\"";
inline constexpr const char* kFailedDeleting = "Failed deleting file \"%s\"";
// Another run holds the test folder: the folder's name, and the reason in the
// error report's text slot, where the system's words for the lock's code
// ("Resource temporarily unavailable") would not say what is going on.
inline constexpr const char* kFolderInUse = "Unable to use the folder \"%s\"";
inline constexpr const char* kFolderInUseReason = "Another test is running in this folder";
inline constexpr const char* kIntervalTooSmallSample =
    "Timing interval too small.\n\nTry decreasing the samples per second\nand/or increasing the buffer size.";
inline constexpr const char* kIntervalTooSmallPass =
    "Timing interval too small.\n\nTry increasing the buffer size and/or the number of files.";
inline constexpr const char* kNoHighResolutionCounter =
    "Warning:  No high-resolution performance counter detected.\nUsing standard system clock for timing.";
inline constexpr const char* kNoMemory = "Not enough memory for the test buffers";
inline constexpr const char* kNoThread = "Unable to start the test";

}  // namespace kel::msg
