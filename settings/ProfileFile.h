#pragma once
// One settings file of sections and keys, read and written one key at a time
// like the Windows private-profile functions. Every call reads the file
// afresh; nothing is cached between calls.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kel {

class ProfileFile {
public:
    explicit ProfileFile(std::filesystem::path path);

    const std::filesystem::path& Path() const { return m_path; }

    // The key's integer value; defaultValue when the file, section or key is
    // missing, the key has no '=', or its value is empty.
    std::int32_t GetProfileInt(std::string_view section, std::string_view key, std::int32_t defaultValue) const;

    // The key's value, or defaultValue when the file, section or key is
    // missing or the key has no '='. Like a buffer of bufferSize bytes with its
    // terminator, at most bufferSize - 1 bytes come back, never ending inside
    // a UTF-8 character.
    std::string GetProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                 std::size_t bufferSize) const;

    // Sets one key, creating file, directory and section as needed, and
    // keeps the rest of the file byte for byte. The file is not touched when
    // the key already holds the value. Returns false when a name or the value
    // cannot be stored (line breaks, NUL bytes, outer blanks in names, '=' in a
    // key) or the file cannot be written; the old file then stays whole.
    bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value);

private:
    std::filesystem::path m_path;
};

}  // namespace kel
