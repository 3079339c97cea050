#pragma once
// One settings file of sections and keys, read and written like the Windows
// private-profile functions. Every call reads the file afresh; nothing is
// cached between calls. Load reads it once for many reads.

#include "settings/ProfileSnapshot.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace kel {

struct ProfileSetting {
    std::string_view section;
    std::string_view key;
    std::string value;
};

class ProfileFile {
public:
    explicit ProfileFile(std::filesystem::path path);

    const std::filesystem::path& Path() const { return m_path; }

    // The file's sections as they are now, read and parsed once; a missing or
    // unreadable file gives a snapshot without sections (marked unreadable
    // for the latter).
    ProfileSnapshot Load() const;

    // The key's integer value, as ProfileSection::GetProfileInt reads it from
    // the file as it is now.
    std::int32_t GetProfileInt(std::string_view section, std::string_view key, std::int32_t defaultValue) const;

    // The key's value, as ProfileSection::GetProfileString reads it from the
    // file as it is now: at most bufferSize - 1 characters.
    std::string GetProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                 std::size_t bufferSize) const;

    // Sets one key, creating file, directory and section as needed, and
    // keeps the rest of the file byte for byte, in its own encoding. The file
    // is not touched when the key already holds the value. Returns false when
    // a name or the value cannot be stored (line breaks, NUL bytes, outer
    // blanks in names, '=' in a key, text the file's encoding cannot carry) or
    // the file cannot or may not be written; the old file then stays whole.
    bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value);

    // Sets the keys in order as that many WriteProfileString calls would, but
    // with one replacement of the file: all of them are written or none. A
    // removedSection, when named, goes from the file in the same replacement.
    bool WriteProfileStrings(std::span<const ProfileSetting> settings, std::string_view removedSection = {});

private:
    std::filesystem::path m_path;
};

}  // namespace kel
