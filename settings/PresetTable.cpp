#include "settings/PresetTable.h"

#include "settings/PresetNameText.h"
#include "settings/ProfileFile.h"

#include <algorithm>
#include <numeric>
#include <string>

namespace kel {

namespace {

constexpr std::string_view kAppSection = "Application";
constexpr std::string_view kCountKey = "Presets";
constexpr std::string_view kUnnamed = "(unnamed)";

// The eight numeric keys in record order, with the default a missing key
// takes and the field each fills.
struct NumberKey {
    std::string_view key;
    std::int32_t missingDefault;
    std::int32_t Preset::*field;
};

constexpr std::array<NumberKey, 8> kNumberKeys {{
    {"NumFiles", 1, &Preset::numFiles},
    {"FileSize", 1, &Preset::fileSize},
    {"BufSize", 1, &Preset::bufSize},
    {"ReadReps", 1, &Preset::readReps},
    {"WriteReps", 1, &Preset::writeReps},
    {"SampsSec", 1, &Preset::sampsSec},
    {"KelMinRead", 0, &Preset::minRead},
    {"KelMinWrite", 0, &Preset::minWrite},
}};

std::string SectionName(int number)
{
    return "Preset" + std::to_string(number);
}

Preset ReadPreset(const ProfileSection& section)
{
    Preset preset;
    preset.name = section.GetProfileString("Name", kUnnamed, kPresetNameMax + 1);
    for (const NumberKey& number : kNumberKeys) {
        preset.*number.field = section.GetProfileInt(number.key, number.missingDefault);
    }
    return preset;
}

Preset DefaultPreset()
{
    constexpr RunParameters defaults = DefaultRunParameters();
    Preset preset;
    preset.name = kDefaultPresetName;
    preset.numFiles = defaults.numFiles;
    preset.fileSize = defaults.fileSizeKB;
    preset.bufSize = defaults.bufSizeKB;
    preset.readReps = defaults.readReps;
    preset.writeReps = defaults.writeReps;
    preset.sampsSec = defaults.sampsSec;
    preset.minRead = defaults.minRead;
    preset.minWrite = defaults.minWrite;
    return preset;
}

}  // namespace

std::optional<std::string> PresetTable::LoadPresets(ProfileFile& file)
{
    const ProfileSnapshot settings = file.Load();
    if (settings.IsUnreadable()) {
        m_presets[0] = DefaultPreset();
        m_count = 1;
        return "The settings file \"" + file.Path().string() +
               "\" could not be read, so its presets are not shown; it is left as it is.";
    }
    m_count = std::clamp(settings.FindSection(kAppSection).GetProfileInt(kCountKey, 0), 0, MaxPresets);
    while (m_count < MaxPresets && settings.FindSection(SectionName(m_count + 1)).Exists()) {
        ++m_count;
    }
    for (int i = 0; i < m_count; ++i) {
        m_presets[static_cast<std::size_t>(i)] = ReadPreset(settings.FindSection(SectionName(i + 1)));
    }
    // The section after the table's last is free: the count ran past every
    // one that exists.
    AddDefaultPreset(file, true);
    return std::nullopt;
}

bool PresetTable::EnsureDefaultPreset(ProfileFile& file)
{
    return AddDefaultPreset(file, !file.Load().FindSection(SectionName(m_count + 1)).Exists());
}

bool PresetTable::AddDefaultPreset(ProfileFile& file, bool sectionFree)
{
    if (FindPreset(kDefaultPresetName) >= 0 || m_count >= MaxPresets) {
        return false;
    }
    const Preset preset = DefaultPreset();
    m_presets[static_cast<std::size_t>(m_count)] = preset;
    ++m_count;
    // The user's section is never overwritten; the preset then lives in the
    // table only.
    if (!sectionFree) {
        return true;
    }
    // One replacement of the file for all ten keys: a failure leaves the
    // file as it was, never a count without its preset.
    const std::string section = SectionName(m_count);
    std::vector<ProfileSetting> settings {{kAppSection, kCountKey, std::to_string(m_count)},
                                          {section, "Name", preset.name}};
    for (const NumberKey& number : kNumberKeys) {
        settings.push_back({section, number.key, std::to_string(preset.*number.field)});
    }
    file.WriteProfileStrings(settings);
    return true;
}

int PresetTable::FindPreset(std::string_view name) const
{
    for (int i = 0; i < m_count; ++i) {
        if (m_presets[static_cast<std::size_t>(i)].name == name) {
            return i;
        }
    }
    return -1;
}

std::vector<int> PresetTable::SortedOrder() const
{
    std::vector<int> order(static_cast<std::size_t>(m_count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return PresetNameBefore(At(a).name, At(b).name); });
    return order;
}

}  // namespace kel
