#pragma once
// The settings file as read once: its text and where its sections begin, for
// any number of reads without going back to the file. Reads follow the same
// rules as the single-key functions of ProfileFile.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

// One section of a snapshot, or no section at all (every read gives its
// default). It refers to the snapshot's text and lives no longer than it.
class ProfileSection {
public:
    // Whether the file has the section (its header line), keys or not.
    bool Exists() const { return m_body.has_value(); }

    // The key's integer value; defaultValue when the section or key is
    // missing, the key has no '=', or its value is empty. Only the first 29
    // characters of the value are read as a number.
    std::int32_t GetProfileInt(std::string_view key, std::int32_t defaultValue) const;

    // The key's value, or defaultValue when the section or key is missing or
    // the key has no '='. Like a buffer of bufferSize characters with its
    // terminator, at most bufferSize - 1 characters come back, never a part
    // of one.
    std::string GetProfileString(std::string_view key, std::string_view defaultValue, std::size_t bufferSize) const;

private:
    friend class ProfileSnapshot;
    ProfileSection() = default;
    ProfileSection(std::string_view text, std::size_t body);

    std::optional<std::string_view> FindValue(std::string_view key) const;

    std::string_view m_text;
    std::optional<std::size_t> m_body;  // first byte after the header line
};

class ProfileSnapshot {
public:
    // A file that is missing: every section is missing.
    ProfileSnapshot() = default;
    // UTF-8 text, after any byte-order mark.
    explicit ProfileSnapshot(std::string text);
    // A file that exists but cannot be read: every section is missing, and
    // nothing should be written on the strength of what it seems to lack.
    static ProfileSnapshot Unreadable();

    bool IsUnreadable() const { return m_unreadable; }

    // The first section of that name (letter case aside).
    ProfileSection FindSection(std::string_view name) const;

private:
    std::string m_text;
    std::vector<std::size_t> m_headers;  // first byte of every section header line, in file order
    bool m_unreadable = false;
};

}  // namespace kel
