#include "settings/ProfileParser.h"

#include "platform/TextRules.h"
#include "settings/ProfileText.h"

namespace kel {

namespace {

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

std::vector<ProfileLine> SplitProfileLines(std::string_view text)
{
    std::vector<ProfileLine> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        ProfileLine line;
        line.begin = pos;
        const auto stop = text.find_first_of("\r\n", pos);
        line.end = stop == std::string_view::npos ? text.size() : stop;
        line.next = line.end;
        if (line.next < text.size()) {
            const bool crlf = text[line.next] == '\r' && line.next + 1 < text.size() && text[line.next + 1] == '\n';
            line.next += crlf ? 2 : 1;
        }
        ClassifyLine(text, line);
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

std::string_view ProfileLineEnding(std::string_view text)
{
    const auto stop = text.find_first_of("\r\n");
    if (stop == std::string_view::npos || text[stop] == '\n') {
        return "\n";
    }
    return stop + 1 < text.size() && text[stop + 1] == '\n' ? "\r\n" : "\r";
}

std::size_t FindProfileSection(const std::vector<ProfileLine>& lines, std::string_view section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == ProfileLineKind::Section && EqualsIgnoringAsciiCase(lines[i].name, section)) {
            return i;
        }
    }
    return kNoProfileLine;
}

std::size_t ProfileSectionEnd(const std::vector<ProfileLine>& lines, std::size_t sectionLine)
{
    std::size_t i = sectionLine + 1;
    while (i < lines.size() && lines[i].kind != ProfileLineKind::Section) {
        ++i;
    }
    return i;
}

std::size_t FindProfileKey(const std::vector<ProfileLine>& lines, std::size_t sectionLine, std::string_view key)
{
    const std::size_t end = ProfileSectionEnd(lines, sectionLine);
    for (std::size_t i = sectionLine + 1; i < end; ++i) {
        if (lines[i].kind == ProfileLineKind::Key && EqualsIgnoringAsciiCase(lines[i].name, key)) {
            return i;
        }
    }
    return kNoProfileLine;
}

std::optional<std::string_view> FindProfileValue(std::string_view text, std::string_view section, std::string_view key)
{
    const auto lines = SplitProfileLines(text);
    const std::size_t sectionLine = FindProfileSection(lines, section);
    if (sectionLine == kNoProfileLine) {
        return std::nullopt;
    }
    const std::size_t keyLine = FindProfileKey(lines, sectionLine, key);
    if (keyLine == kNoProfileLine || !lines[keyLine].hasEquals) {
        return std::nullopt;
    }
    const ProfileLine& line = lines[keyLine];
    return DecodeProfileValue(text.substr(line.valueBegin, line.end - line.valueBegin));
}

}  // namespace kel
