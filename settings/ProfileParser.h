#pragma once
// Reads settings-file text line by line and finds sections and keys in it.
// Lines keep byte offsets into the text, so a writer can change one line and
// leave every other byte as it was. Nothing is stored per line: a search
// walks the text, so a file of millions of lines costs no more memory than
// its text.

#include <cstddef>
#include <optional>
#include <string_view>

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

// The line that starts at begin (begin < text.size()). Lines end at CR LF,
// LF or a lone CR; a last line without ending counts.
ProfileLine ReadProfileLine(std::string_view text, std::size_t begin);

// The text's first line ending, or LF when it has none.
std::string_view ProfileLineEnding(std::string_view text);

// The header of the first section of that name, or nothing.
std::optional<ProfileLine> FindProfileSection(std::string_view text, std::string_view section);

// The first line of that key in the section whose lines start at body (the
// line after its header), or nothing.
std::optional<ProfileLine> FindProfileKey(std::string_view text, std::size_t body, std::string_view key);

// The decoded value of a key line, or nothing when the line has no '='.
std::optional<std::string_view> ProfileKeyValue(std::string_view text, const ProfileLine& keyLine);

// The last line of the section that is not blank: its last key or comment
// line before the next header, or the header itself.
ProfileLine LastProfileSectionLine(std::string_view text, const ProfileLine& header);

}  // namespace kel
