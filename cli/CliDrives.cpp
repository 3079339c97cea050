#include "cli/CliDrives.h"

#include "platform/TextRules.h"
#include "platform/VolumeInfo.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace kel {

namespace {

constexpr std::size_t kColumns = 7;
using Row = std::array<QString, kColumns>;

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

// As the table shows it: control characters as escapes, so a label or a
// folder's name cannot move the cursor or retitle the terminal.
QString Shown(const std::string& text)
{
    return QString::fromStdString(PrintableText(text));
}

QString TableText(const std::vector<Row>& rows)
{
    std::array<qsizetype, kColumns> widths {};
    for (const Row& row : rows) {
        for (std::size_t i = 0; i < kColumns; ++i) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    QString text;
    for (const Row& row : rows) {
        QString line;
        for (std::size_t i = 0; i < kColumns; ++i) {
            // Free bytes read best right-aligned; the last column needs no padding.
            const qsizetype width = i + 1 < kColumns ? widths[i] : 0;
            line += (i == 1 ? row[i].rightJustified(width) : row[i].leftJustified(width)) + "  ";
        }
        text += line.trimmed() + "\n";
    }
    return text;
}

}  // namespace

QString FormatDriveList(const DriveTable& drives, bool json)
{
    QJsonArray list;
    std::vector<Row> rows {{"Drive", "Free bytes", "Type", "Device", "Mount point", "Root path", "Label"}};
    for (const DriveEntry& entry : drives.Entries()) {
        const std::optional<std::uint64_t> free = FreeBytesForUser(entry.rootPath);
        const QString letter(QChar::fromLatin1(entry.letter));
        if (json) {
            list.append(QJsonObject {
                {"letter", letter},
                {"rootPath", Text(entry.rootPath)},
                {"mountPoint", Text(entry.mountPoint)},
                {"label", Text(entry.label)},
                {"type", Text(entry.fileSystem)},
                {"device", Text(entry.device)},
                {"freeBytes", free ? QJsonValue(static_cast<qint64>(*free)) : QJsonValue()},
            });
        } else {
            rows.push_back({letter, free ? QString::number(*free) : QString("?"), Shown(entry.fileSystem),
                            Shown(entry.device), Shown(entry.mountPoint), Shown(entry.rootPath), Shown(entry.label)});
        }
    }
    return json ? QString::fromUtf8(QJsonDocument(list).toJson()) : TableText(rows);
}

}  // namespace kel
