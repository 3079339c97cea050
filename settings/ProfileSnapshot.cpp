#include "settings/ProfileSnapshot.h"

#include "platform/TextRules.h"
#include "settings/ProfileParser.h"
#include "settings/ProfileText.h"

#include <utility>

namespace kel {

ProfileSection::ProfileSection(std::string_view text, std::size_t body)
    : m_text(text)
    , m_body(body)
{
}

std::optional<std::string_view> ProfileSection::FindValue(std::string_view key) const
{
    if (!m_body) {
        return std::nullopt;
    }
    const auto line = FindProfileKey(m_text, *m_body, key);
    return line ? ProfileKeyValue(m_text, *line) : std::nullopt;
}

std::int32_t ProfileSection::GetProfileInt(std::string_view key, std::int32_t defaultValue) const
{
    const auto value = FindValue(key);
    if (!value || value->empty()) {
        return defaultValue;
    }
    return ParseProfileInteger(*value);
}

std::string ProfileSection::GetProfileString(std::string_view key, std::string_view defaultValue,
                                             std::size_t bufferSize) const
{
    const std::size_t maxChars = bufferSize > 0 ? bufferSize - 1 : 0;
    return std::string(CutUtf8Chars(FindValue(key).value_or(defaultValue), maxChars));
}

ProfileSnapshot::ProfileSnapshot(std::string text)
    : m_text(std::move(text))
{
    for (std::size_t pos = 0; pos < m_text.size();) {
        const ProfileLine line = ReadProfileLine(m_text, pos);
        if (line.kind == ProfileLineKind::Section) {
            m_headers.push_back(line.begin);
        }
        pos = line.next;
    }
}

ProfileSnapshot ProfileSnapshot::Unreadable()
{
    ProfileSnapshot snapshot;
    snapshot.m_unreadable = true;
    return snapshot;
}

ProfileSection ProfileSnapshot::FindSection(std::string_view name) const
{
    for (const std::size_t header : m_headers) {
        const ProfileLine line = ReadProfileLine(m_text, header);
        if (EqualsIgnoringAsciiCase(line.name, name)) {
            return ProfileSection(m_text, line.next);
        }
    }
    return ProfileSection();
}

}  // namespace kel
