#include "cli/CliDrives.h"

#include "platform/TextRules.h"
#include "platform/VolumeInfo.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace kel {

namespace {

constexpr std::size_t kColumns = 7;
using Row = std::array<std::string, kColumns>;

std::string TableText(const std::vector<Row>& rows)
{
    std::array<std::size_t, kColumns> widths {};
    for (const Row& row : rows) {
        for (std::size_t i = 0; i < kColumns; ++i) {
            widths[i] = std::max(widths[i], Utf8Length(row[i]));
        }
    }
    std::string text;
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < kColumns; ++i) {
            // Free bytes read best right-aligned; the last column needs no padding.
            const std::size_t width = i + 1 < kColumns ? widths[i] : 0;
            const std::size_t length = Utf8Length(row[i]);
            const std::string padding(width > length ? width - length : 0, ' ');
            line += (i == 1 ? padding + row[i] : row[i] + padding) + "  ";
        }
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + "\n";
    }
    return text;
}

}  // namespace

std::string FormatDriveList(const DriveTable& drives, bool json)
{
    nlohmann::json list = nlohmann::json::array();
    std::vector<Row> rows {{"Drive", "Free bytes", "Type", "Device", "Mount point", "Root path", "Label"}};
    for (const DriveEntry& entry : drives.Entries()) {
        // A mount that did not answer is not asked again.
        std::optional<std::uint64_t> free;
        if (entry.answering) {
            free = FreeBytesForUser(entry.rootPath);
        }
        const std::string letter(1, entry.letter);
        if (json) {
            list.push_back({
                {"letter", letter},
                {"rootPath", EscapeInvalidUtf8(entry.rootPath)},
                {"mountPoint", EscapeInvalidUtf8(entry.mountPoint)},
                {"label", EscapeInvalidUtf8(entry.label)},
                {"type", EscapeInvalidUtf8(entry.fileSystem)},
                {"device", EscapeInvalidUtf8(entry.device)},
                {"freeBytes", free ? nlohmann::json(static_cast<std::int64_t>(*free)) : nlohmann::json()},
                {"answering", entry.answering},
            });
        } else {
            // Control characters as escapes, so a label or a folder's name
            // cannot move the cursor or retitle the terminal.
            const std::string freeText = free ? std::to_string(*free) : entry.answering ? "?" : "not answering";
            rows.push_back({letter, freeText, PrintableText(entry.fileSystem),
                            PrintableText(entry.device), PrintableText(entry.mountPoint),
                            PrintableText(entry.rootPath), PrintableText(entry.label)});
        }
    }
    return json ? list.dump(4) + "\n" : TableText(rows);
}

}  // namespace kel
