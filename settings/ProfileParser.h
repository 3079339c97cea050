#pragma once
// Splits settings-file text into lines and finds sections and keys in them.
// Lines keep byte offsets into the text, so a writer can change one line and
// leave every other byte as it was.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace kel {

enum class ProfileLineKind {
    Blank,    // nothing but blanks
    Comment,  // first non-blank character ';' or '#'
    Section,  // first non-blank character '[' and a ']' later on the line
    Key,      // anything else: a key, with or without '='
};

struct ProfileLine {
    std::size_t begin = 0;  // first byte of the line
    std::size_t end = 0;    // end of its text, before the line ending
    std::size_t next = 0;   // start of the following line; equals end on a last line without ending
    ProfileLineKind kind = ProfileLineKind::Blank;
    std::string_view name;  // trimmed section name or key; points into the text
    std::size_t nameEnd = 0;     // key lines: end of the trimmed key
    bool hasEquals = false;      // key lines: an '=' follows the key
    std::size_t valueBegin = 0;  // key lines with '=': first byte after the '='
};

constexpr std::size_t kNoProfileLine = static_cast<std::size_t>(-1);

// Lines end at CR LF, LF or a lone CR; a last line without ending counts.
std::vector<ProfileLine> SplitProfileLines(std::string_view text);

// The text's first line ending, or LF when it has none.
std::string_view ProfileLineEnding(std::string_view text);

// Index of the first header of that section, or kNoProfileLine.
std::size_t FindProfileSection(const std::vector<ProfileLine>& lines, std::string_view section);

// Index of the line after the section's last line (the next header, or the end).
std::size_t ProfileSectionEnd(const std::vector<ProfileLine>& lines, std::size_t sectionLine);

// Index of the first line of that key in the section headed by sectionLine,
// or kNoProfileLine.
std::size_t FindProfileKey(const std::vector<ProfileLine>& lines, std::size_t sectionLine, std::string_view key);

// The decoded value of a key in the first section of that name; nothing when
// the section or key is missing or the key line has no '='.
std::optional<std::string_view> FindProfileValue(std::string_view text, std::string_view section, std::string_view key);

}  // namespace kel
