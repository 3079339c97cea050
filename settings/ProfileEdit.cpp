#include "settings/ProfileEdit.h"

#include "settings/ProfileParser.h"
#include "settings/ProfileText.h"

namespace kel {

namespace {

bool HasLineBreakOrNul(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool IsWritableName(std::string_view name)
{
    return !name.empty() && !HasLineBreakOrNul(name) && TrimProfileBlanks(name).size() == name.size();
}

std::string KeyLine(std::string_view key, std::string_view value)
{
    std::string line(key);
    line += '=';
    line += EncodeProfileValue(value);
    return line;
}

std::string Splice(std::string_view text, std::size_t from, std::size_t to, std::string_view insert)
{
    std::string result(text.substr(0, from));
    result += insert;
    result += text.substr(to);
    return result;
}

std::size_t LastNonBlankLine(const std::vector<ProfileLine>& lines, std::size_t sectionLine)
{
    std::size_t last = sectionLine;
    const std::size_t end = ProfileSectionEnd(lines, sectionLine);
    for (std::size_t i = sectionLine + 1; i < end; ++i) {
        if (lines[i].kind != ProfileLineKind::Blank) {
            last = i;
        }
    }
    return last;
}

}  // namespace

bool IsWritableSectionName(std::string_view section)
{
    return IsWritableName(section);
}

bool IsWritableKeyName(std::string_view key)
{
    return IsWritableName(key) && key.find('=') == std::string_view::npos && key.front() != ';' &&
           key.front() != '#' && key.front() != '[';
}

bool IsWritableValue(std::string_view value)
{
    return !HasLineBreakOrNul(value);
}

std::string EncodeProfileValue(std::string_view value)
{
    if (DecodeProfileValue(value) == value) {
        return std::string(value);
    }
    std::string quoted = "\"";
    quoted += value;
    quoted += '"';
    return quoted;
}

std::optional<std::string> SetProfileKey(std::string_view text, std::string_view section, std::string_view key,
                                         std::string_view value)
{
    const auto lines = SplitProfileLines(text);
    const std::string_view eol = ProfileLineEnding(text);
    const std::size_t sectionLine = FindProfileSection(lines, section);
    if (sectionLine == kNoProfileLine) {
        std::string result(text);
        if (!lines.empty() && lines.back().next == lines.back().end) {
            result += eol;
        }
        result += '[';
        result += section;
        result += ']';
        result += eol;
        result += KeyLine(key, value);
        result += eol;
        return result;
    }
    const std::size_t keyLine = FindProfileKey(lines, sectionLine, key);
    if (keyLine != kNoProfileLine) {
        const ProfileLine& line = lines[keyLine];
        if (!line.hasEquals) {
            return Splice(text, line.nameEnd, line.end, "=" + EncodeProfileValue(value));
        }
        const std::string_view raw = text.substr(line.valueBegin, line.end - line.valueBegin);
        if (DecodeProfileValue(raw) == value) {
            return std::nullopt;
        }
        // Keep the blanks between '=' and the value as the file spells them.
        std::size_t valueStart = line.valueBegin;
        while (valueStart < line.end && IsProfileBlank(text[valueStart])) {
            ++valueStart;
        }
        return Splice(text, valueStart, line.end, EncodeProfileValue(value));
    }
    const ProfileLine& last = lines[LastNonBlankLine(lines, sectionLine)];
    if (last.next == last.end) {
        return Splice(text, last.end, last.end, std::string(eol) + KeyLine(key, value));
    }
    return Splice(text, last.next, last.next, KeyLine(key, value) + std::string(eol));
}

}  // namespace kel
