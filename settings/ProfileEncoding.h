#pragma once
// The settings file's encoding: UTF-8 without a byte-order mark (the bytes
// are taken as they are), UTF-8 after the mark EF BB BF, or UTF-16LE after
// the mark FF FE. The parser and the writer work on UTF-8 text; the file keeps
// its own encoding and mark when it is written back.

#include <optional>
#include <string>
#include <string_view>

namespace kel {

enum class ProfileEncoding {
    Utf8,
    Utf8WithMark,
    Utf16LeWithMark,
};

struct ProfileContent {
    ProfileEncoding encoding = ProfileEncoding::Utf8;
    // The text after the mark, as UTF-8. UTF-16 code units that pair no
    // surrogate keep their own three-byte form, so every file of whole code
    // units converts back to its very bytes.
    std::string text;
    // False for a UTF-16 file that ends in half a code unit: reading skips
    // that byte, and writing the text back would lose it.
    bool reversible = true;
};

// Takes the file's bytes apart by their mark.
ProfileContent DecodeProfileBytes(std::string bytes);

// The bytes of text in that encoding, mark included; nothing when the text
// holds a sequence the encoding cannot carry (bytes that are not UTF-8, for
// a UTF-16 file).
std::optional<std::string> EncodeProfileText(ProfileEncoding encoding, std::string text);

}  // namespace kel
