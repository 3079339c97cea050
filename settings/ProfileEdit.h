#pragma once
// Setting one key in settings-file text while keeping every other byte.

#include <string>
#include <string_view>

namespace kel {

// Whether a section name, key or value can be written so that reading the
// file back finds exactly it. Line breaks and NUL bytes never can (they would
// split the line or end the value early); names must not carry outer blanks
// or be empty, and a key must not contain '=' nor start like a comment or a
// section header.
bool IsWritableSectionName(std::string_view section);
bool IsWritableKeyName(std::string_view key);
bool IsWritableValue(std::string_view value);

// The value as it stands in the file: wrapped in double quotes when its
// outer blanks or outer quotes would otherwise be lost on reading.
std::string EncodeProfileValue(std::string_view value);

// Sets the key to value in text, in place; false when the key already reads
// as that value and text stays as it was. An existing key (the first of that
// name in the first section of that name) is changed in place; a new key goes
// after the section's last non-blank line; a new section goes at the end. New
// lines take the text's own line ending. Names and value must be writable.
bool SetProfileKey(std::string& text, std::string_view section, std::string_view key, std::string_view value);

// Removes the first section of that name, its header and every line up to its
// last key or comment; false when there is none.
bool RemoveProfileSection(std::string& text, std::string_view section);

}  // namespace kel
