#include "app/GraphScaleSetting.h"

#include "settings/SettingsLocation.h"

#include <string_view>

namespace kel {

namespace {
// Longer than any value the key may hold, so a longer one is not cut into one.
constexpr std::size_t kValueBuffer = 16;
}  // namespace

GraphScale ReadGraphScaleSetting(const ProfileFile& settings)
{
    const std::string text = settings.GetProfileString(kApplicationSection, kGraphScaleKey, "", kValueBuffer);
    return ParseGraphScale(text).value_or(DefaultGraphScale());
}

void WriteGraphScaleSetting(ProfileFile& settings, const GraphScale& scale)
{
    settings.WriteProfileString(kApplicationSection, kGraphScaleKey, GraphScaleText(scale));
}

}  // namespace kel
