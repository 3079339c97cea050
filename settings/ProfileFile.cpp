#include "settings/ProfileFile.h"

#include "platform/TextRules.h"
#include "settings/ProfileEdit.h"
#include "settings/ProfileInteger.h"
#include "settings/ProfileParser.h"
#include "settings/ProfileText.h"
#include "settings/SettingsFileIo.h"

#include <utility>

namespace kel {

ProfileFile::ProfileFile(std::filesystem::path path)
    : m_path(std::move(path))
{
}

std::int32_t ProfileFile::GetProfileInt(std::string_view section, std::string_view key,
                                        std::int32_t defaultValue) const
{
    const auto text = ReadSettingsFile(m_path);
    if (!text) {
        return defaultValue;
    }
    const auto value = FindProfileValue(*text, section, key);
    if (!value || value->empty()) {
        return defaultValue;
    }
    return ParseProfileInteger(*value);
}

std::string ProfileFile::GetProfileString(std::string_view section, std::string_view key,
                                          std::string_view defaultValue, std::size_t bufferSize) const
{
    const std::size_t maxBytes = bufferSize > 0 ? bufferSize - 1 : 0;
    const auto text = ReadSettingsFile(m_path);
    if (text) {
        const auto value = FindProfileValue(*text, section, key);
        if (value) {
            return std::string(CutUtf8(*value, maxBytes));
        }
    }
    return std::string(CutUtf8(defaultValue, maxBytes));
}

bool ProfileFile::WriteProfileString(std::string_view section, std::string_view key, std::string_view value)
{
    if (!IsWritableSectionName(section) || !IsWritableKeyName(key) || !IsWritableValue(value)) {
        return false;
    }
    const auto text = ReadSettingsFile(m_path);
    if (!text) {
        return false;
    }
    const auto changed = SetProfileKey(*text, section, key, value);
    if (!changed) {
        return true;
    }
    return ReplaceSettingsFile(m_path, *changed);
}

}  // namespace kel
