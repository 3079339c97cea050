// The mount table's reading and the mounts' labels.
#include "drives/MountInfo.h"

#include "platform/TextRules.h"

#include <cstddef>

namespace kel {

namespace {

bool IsOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

std::vector<std::string_view> SplitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) {
            break;
        }
        std::size_t end = line.find_first_of(" \t", start);
        if (end == std::string_view::npos) {
            end = line.size();
        }
        fields.push_back(line.substr(start, end - start));
        at = end;
    }
    return fields;
}

// Fields: id, parent id, major:minor, root, mount point, mount options,
// optional fields ended by "-", then type, source and the file system's options.
bool ParseLine(std::string_view line, MountRecord& record)
{
    const std::vector<std::string_view> fields = SplitFields(line);
    std::size_t separator = 6;
    while (separator < fields.size() && fields[separator] != "-") {
        ++separator;
    }
    if (separator + 2 >= fields.size()) {
        return false;
    }
    record.deviceNumber = std::string(fields[2]);
    record.root = UnescapeMountField(fields[3]);
    record.mountPoint = UnescapeMountField(fields[4]);
    record.fileSystem = UnescapeMountField(fields[separator + 1]);
    record.source = UnescapeMountField(fields[separator + 2]);
    return !record.mountPoint.empty() && record.mountPoint[0] == '/';
}

}  // namespace

std::string UnescapeMountField(std::string_view field)
{
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        // Escapes stand for single bytes, so their first digit is at most 3.
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
            IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3])) {
            const int value = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            out.push_back(static_cast<char>(value));
            i += 3;
        } else {
            out.push_back(field[i]);
        }
    }
    return out;
}

std::vector<MountRecord> ParseMountInfo(std::string_view text)
{
    std::vector<MountRecord> records;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        MountRecord record;
        if (ParseLine(text.substr(at, end - at), record)) {
            records.push_back(std::move(record));
        }
        at = end + 1;
    }
    return records;
}

std::string UnescapeLinkName(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' && HexDigitValue(name[i + 2]) >= 0 &&
            HexDigitValue(name[i + 3]) >= 0) {
            out.push_back(static_cast<char>(HexDigitValue(name[i + 2]) * 16 + HexDigitValue(name[i + 3])));
            i += 3;
        } else {
            out.push_back(name[i]);
        }
    }
    return out;
}

std::string LabelOfMount(const std::vector<LabelLink>& links, const MountRecord& mount)
{
    for (const LabelLink& link : links) {
        const bool sameNumber = !link.deviceNumber.empty() && link.deviceNumber == mount.deviceNumber;
        const bool samePath = !link.devicePath.empty() && link.devicePath == mount.source;
        if (sameNumber || samePath) {
            return UnescapeLinkName(link.name);
        }
    }
    return {};
}

}  // namespace kel
