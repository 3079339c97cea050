#include "settings/PresetNameText.h"

#include "platform/TextRules.h"

#include <algorithm>

namespace kel {

bool PresetNameBefore(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(AsciiLower(x)) < static_cast<unsigned char>(AsciiLower(y));
    });
}

}  // namespace kel
