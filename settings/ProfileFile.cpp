#include "settings/ProfileFile.h"

#include "settings/ProfileEdit.h"
#include "settings/ProfileEncoding.h"
#include "settings/SettingsFileIo.h"

#include <algorithm>
#include <utility>

namespace kel {

ProfileFile::ProfileFile(std::filesystem::path path)
    : m_path(std::move(path))
{
}

ProfileSnapshot ProfileFile::Load() const
{
    auto bytes = ReadSettingsFile(m_path);
    if (!bytes) {
        return ProfileSnapshot::Unreadable();
    }
    return ProfileSnapshot(DecodeProfileBytes(std::move(*bytes)).text);
}

std::int32_t ProfileFile::GetProfileInt(std::string_view section, std::string_view key,
                                        std::int32_t defaultValue) const
{
    return Load().FindSection(section).GetProfileInt(key, defaultValue);
}

std::string ProfileFile::GetProfileString(std::string_view section, std::string_view key,
                                          std::string_view defaultValue, std::size_t bufferSize) const
{
    return Load().FindSection(section).GetProfileString(key, defaultValue, bufferSize);
}

bool ProfileFile::WriteProfileString(std::string_view section, std::string_view key, std::string_view value)
{
    const ProfileSetting setting {section, key, std::string(value)};
    return WriteProfileStrings({&setting, 1});
}

bool ProfileFile::WriteProfileStrings(std::span<const ProfileSetting> settings, std::string_view removedSection)
{
    const bool writable = std::all_of(settings.begin(), settings.end(), [](const ProfileSetting& setting) {
        return IsWritableSectionName(setting.section) && IsWritableKeyName(setting.key) &&
               IsWritableValue(setting.value);
    });
    if (!writable) {
        return false;
    }
    auto bytes = ReadSettingsFile(m_path);
    if (!bytes) {
        return false;
    }
    ProfileContent content = DecodeProfileBytes(std::move(*bytes));
    bool changed = false;
    for (const ProfileSetting& setting : settings) {
        changed = SetProfileKey(content.text, setting.section, setting.key, setting.value) || changed;
    }
    if (!removedSection.empty()) {
        changed = RemoveProfileSection(content.text, removedSection) || changed;
    }
    if (!changed) {
        return true;
    }
    if (!content.reversible) {
        return false;
    }
    const auto encoded = EncodeProfileText(content.encoding, std::move(content.text));
    return encoded && ReplaceSettingsFile(m_path, *encoded);
}

}  // namespace kel
