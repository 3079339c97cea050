#include "app/GraphScaleSetting.h"

#include <string_view>

namespace kel {

namespace {
constexpr std::string_view kSection = "Application";
constexpr std::string_view kKey = "GraphScale";
// Longer than any value the key may hold, so a longer one is not cut into one.
constexpr std::size_t kValueBuffer = 16;
}  // namespace

GraphScale ReadGraphScaleSetting(const ProfileFile& settings)
{
    const std::string text = settings.GetProfileString(kSection, kKey, "", kValueBuffer);
    return ParseGraphScale(text).value_or(DefaultGraphScale());
}

void WriteGraphScaleSetting(ProfileFile& settings, const GraphScale& scale)
{
    settings.WriteProfileString(kSection, kKey, GraphScaleText(scale));
}

}  // namespace kel
