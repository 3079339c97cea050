#include "settings/ProfileParser.h"

#include "platform/TextRules.h"
#include "settings/ProfileText.h"

namespace kel {

namespace {

std::size_t LineStop(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && text[pos] != '\n' && text[pos] != '\r') {
        ++pos;
    }
    return pos;
}

void ClassifyLine(std::string_view text, ProfileLine& line)
{
    const std::string_view content = text.substr(line.begin, line.end - line.begin);
    std::size_t first = 0;
    while (first < content.size() && IsProfileBlank(content[first])) {
        ++first;
    }
    if (first == content.size()) {
        line.kind = ProfileLineKind::Blank;
        return;
    }
    if (content[first] == ';' || content[first] == '#') {
        line.kind = ProfileLineKind::Comment;
        return;
    }
    if (content[first] == '[') {
        const auto close = content.rfind(']');
        if (close != std::string_view::npos && close > first) {
            line.kind = ProfileLineKind::Section;
            line.name = TrimProfileBlanks(content.substr(first + 1, close - first - 1));
            return;
        }
    }
    line.kind = ProfileLineKind::Key;
    const auto equals = content.find('=');
    line.hasEquals = equals != std::string_view::npos;
    const std::string_view keyText = line.hasEquals ? content.substr(0, equals) : content;
    line.name = TrimProfileBlanks(keyText);
    line.nameEnd = line.begin + static_cast<std::size_t>(line.name.data() + line.name.size() - content.data());
    if (line.hasEquals) {
        line.valueBegin = line.begin + equals + 1;
    }
}

}  // namespace

ProfileLine ReadProfileLine(std::string_view text, std::size_t begin)
{
    ProfileLine line;
    line.begin = begin;
    line.end = LineStop(text, begin);
    line.next = line.end;
    if (line.next < text.size()) {
        const bool crlf = text[line.next] == '\r' && line.next + 1 < text.size() && text[line.next + 1] == '\n';
        line.next += crlf ? 2 : 1;
    }
    ClassifyLine(text, line);
    return line;
}

std::string_view ProfileLineEnding(std::string_view text)
{
    const std::size_t stop = LineStop(text, 0);
    if (stop == text.size() || text[stop] == '\n') {
        return "\n";
    }
    return stop + 1 < text.size() && text[stop + 1] == '\n' ? "\r\n" : "\r";
}

std::optional<ProfileLine> FindProfileSection(std::string_view text, std::string_view section)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const ProfileLine line = ReadProfileLine(text, pos);
        if (line.kind == ProfileLineKind::Section && EqualsIgnoringAsciiCase(line.name, section)) {
            return line;
        }
        pos = line.next;
    }
    return std::nullopt;
}

std::optional<ProfileLine> FindProfileKey(std::string_view text, std::size_t body, std::string_view key)
{
    for (std::size_t pos = body; pos < text.size();) {
        const ProfileLine line = ReadProfileLine(text, pos);
        if (line.kind == ProfileLineKind::Section) {
            break;
        }
        if (line.kind == ProfileLineKind::Key && EqualsIgnoringAsciiCase(line.name, key)) {
            return line;
        }
        pos = line.next;
    }
    return std::nullopt;
}

std::optional<std::string_view> ProfileKeyValue(std::string_view text, const ProfileLine& keyLine)
{
    if (!keyLine.hasEquals) {
        return std::nullopt;
    }
    return DecodeProfileValue(text.substr(keyLine.valueBegin, keyLine.end - keyLine.valueBegin));
}

ProfileLine LastProfileSectionLine(std::string_view text, const ProfileLine& header)
{
    ProfileLine last = header;
    for (std::size_t pos = header.next; pos < text.size();) {
        const ProfileLine line = ReadProfileLine(text, pos);
        if (line.kind == ProfileLineKind::Section) {
            break;
        }
        if (line.kind != ProfileLineKind::Blank) {
            last = line;
        }
        pos = line.next;
    }
    return last;
}

}  // namespace kel
