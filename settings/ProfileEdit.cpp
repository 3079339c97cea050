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

bool SetProfileKey(std::string& text, std::string_view section, std::string_view key, std::string_view value)
{
    const std::string eol(ProfileLineEnding(text));
    const auto header = FindProfileSection(text, section);
    if (!header) {
        if (!text.empty() && (text.back() != '\n' && text.back() != '\r')) {
            text += eol;
        }
        text += '[';
        text += section;
        text += ']';
        text += eol;
        text += KeyLine(key, value);
        text += eol;
        return true;
    }
    if (const auto line = FindProfileKey(text, header->next, key)) {
        if (!line->hasEquals) {
            text.replace(line->nameEnd, line->end - line->nameEnd, "=" + EncodeProfileValue(value));
            return true;
        }
        if (ProfileKeyValue(text, *line) == value) {
            return false;
        }
        // Keep the blanks between '=' and the value as the file spells them.
        std::size_t valueStart = line->valueBegin;
        while (valueStart < line->end && IsProfileBlank(text[valueStart])) {
            ++valueStart;
        }
        text.replace(valueStart, line->end - valueStart, EncodeProfileValue(value));
        return true;
    }
    const ProfileLine last = LastProfileSectionLine(text, *header);
    if (last.next == last.end) {
        text.insert(last.end, eol + KeyLine(key, value));
    } else {
        text.insert(last.next, KeyLine(key, value) + eol);
    }
    return true;
}

bool RemoveProfileSection(std::string& text, std::string_view section)
{
    const auto header = FindProfileSection(text, section);
    if (!header) {
        return false;
    }
    const ProfileLine last = LastProfileSectionLine(text, *header);
    text.erase(header->begin, last.next - header->begin);
    return true;
}

}  // namespace kel
