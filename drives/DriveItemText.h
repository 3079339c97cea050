#pragma once
// The text of one drive-list item: the letter in brackets, two spaces, the
// label, and the mount point in parentheses so that entries can be told apart:
//   "[D]  Data disk  (/mnt/data)"
//   "[C]  (/)"                       (no label)
// The text fits the list's 128-character item buffer (terminator included);
// a label too long for it is cut at a character boundary.

#include "platform/DriveTable.h"

#include <string>
#include <string_view>

namespace kel {

constexpr std::size_t kDriveItemTextChars = 128;

// Lower case, then the first character upper case; only ASCII letters change.
std::string LabelForList(std::string_view label);

std::string DriveItemText(const DriveEntry& entry);

}  // namespace kel
