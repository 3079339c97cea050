#include "settings/PresetTable.h"

#include "platform/TextRules.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsLocation.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <string>
#include <system_error>

namespace kel {

bool PresetNameBefore(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(AsciiLower(x)) < static_cast<unsigned char>(AsciiLower(y));
    });
}

namespace {

constexpr std::string_view kUnnamed = "(unnamed)";

std::string SectionName(int number)
{
    return "Preset" + std::to_string(number);
}

Preset ReadPreset(const ProfileSection& section)
{
    Preset preset;
    preset.name = section.GetProfileString("Name", kUnnamed, kPresetNameMax + 1);
    for (const ParameterSpec& spec : kRunParameterTable) {
        if (!spec.settingsKey.empty()) {
            const std::int32_t missing = spec.kind == ParameterKind::Count ? 1 : 0;
            preset.parameters.*spec.field = section.GetProfileInt(spec.settingsKey, missing);
        }
    }
    return preset;
}

Preset DefaultPreset()
{
    Preset preset {std::string(kDefaultPresetName), DefaultRunParameters()};
    preset.parameters.simultaneous = 0;
    return preset;
}

// The section's keys of a preset, after the name, in table order.
void AddPresetKeys(std::vector<ProfileSetting>& settings, std::string_view section, const Preset& preset)
{
    settings.push_back({section, "Name", preset.name});
    for (const ParameterSpec& spec : kRunParameterTable) {
        if (!spec.settingsKey.empty()) {
            settings.push_back({section, spec.settingsKey, std::to_string(preset.parameters.*spec.field)});
        }
    }
}

}  // namespace

namespace {

// Presets= (0 when missing or unusable), and every further section that
// exists in a row after it, up to the table's size.
int CountIn(const ProfileSnapshot& settings)
{
    int count = std::clamp(settings.FindSection(kApplicationSection).GetProfileInt(kPresetCountKey, 0), 0, MaxPresets);
    while (count < MaxPresets && settings.FindSection(SectionName(count + 1)).Exists()) {
        ++count;
    }
    return count;
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
    m_count = CountIn(settings);
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
    std::vector<ProfileSetting> settings {{kApplicationSection, kPresetCountKey, std::to_string(m_count)}};
    AddPresetKeys(settings, section, preset);
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

void PresetTable::LoadShippedPresets(const ProfileFile& file)
{
    const ProfileSnapshot presets = file.Load();
    const int count =
        std::clamp(presets.FindSection(kApplicationSection).GetProfileInt(kPresetCountKey, 0), 0, MaxShippedPresets);
    m_shipped.clear();
    for (int i = 0; i < count; ++i) {
        m_shipped.push_back(ReadPreset(presets.FindSection(SectionName(i + 1))));
    }
}

const Preset& PresetTable::Listed(int index) const
{
    return IsShipped(index) ? m_shipped[static_cast<std::size_t>(index - m_count)] : At(index);
}

std::vector<int> PresetTable::ListedOrder() const
{
    std::vector<int> order = SortedOrder();
    for (int i = 0; i < ShippedCount(); ++i) {
        order.push_back(m_count + i);
    }
    return order;
}

int PresetTable::CountInFile(const ProfileFile& file)
{
    return CountIn(file.Load());
}

PresetTable::Change PresetTable::SavePreset(ProfileFile& file, const Preset& preset)
{
    const int found = FindPreset(preset.name);
    if (found < 0 && m_count >= MaxPresets) {
        return Change::TableFull;
    }
    // Another program (or a second window) may have changed the file since it
    // was read: writing by this table's numbering could then overwrite theirs.
    if (CountInFile(file) != m_count) {
        return Change::FileChanged;
    }
    const int index = found >= 0 ? found : m_count;
    const std::string section = SectionName(index + 1);
    std::vector<ProfileSetting> settings;
    AddPresetKeys(settings, section, preset);
    if (found < 0) {
        settings.push_back({kApplicationSection, kPresetCountKey, std::to_string(m_count + 1)});
    }
    if (!file.WriteProfileStrings(settings)) {
        return Change::NotWritten;
    }
    m_presets[static_cast<std::size_t>(index)] = preset;
    m_count = std::max(m_count, index + 1);
    return Change::Done;
}

PresetTable::Change PresetTable::DeletePreset(ProfileFile& file, int index)
{
    if (index < 0 || index >= m_count) {
        return Change::NotWritten;
    }
    if (CountInFile(file) != m_count) {
        return Change::FileChanged;
    }
    std::vector<std::string> sections;
    for (int i = index; i + 1 < m_count; ++i) {
        sections.push_back(SectionName(i + 1));
    }
    std::vector<ProfileSetting> settings;
    for (int i = index; i + 1 < m_count; ++i) {
        const Preset& next = At(i + 1);
        const std::string& section = sections[static_cast<std::size_t>(i - index)];
        AddPresetKeys(settings, section, next);
    }
    settings.push_back({kApplicationSection, kPresetCountKey, std::to_string(m_count - 1)});
    // The last section goes: sections past the count would be read again.
    if (!file.WriteProfileStrings(settings, SectionName(m_count))) {
        return Change::NotWritten;
    }
    std::move(m_presets.begin() + index + 1, m_presets.begin() + m_count, m_presets.begin() + index);
    --m_count;
    return Change::Done;
}

std::filesystem::path ShippedPresetsPath(const std::filesystem::path& programDir,
                                         const std::filesystem::path& resourceDir)
{
    if (const char* named = std::getenv("KELTALLY_PRESETS_FILE")) {
        return named;
    }
    for (const std::filesystem::path& candidate :
         {programDir / ".." / "share" / "keltally" / "presets.ini", programDir / "presets.ini",
          resourceDir / "presets.ini"}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) {
            return candidate.lexically_normal();
        }
    }
    return {};
}

}  // namespace kel
