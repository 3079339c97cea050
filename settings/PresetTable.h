#pragma once
// The presets read from the settings file: a fixed table of up to MaxPresets
// records in the order of their sections "Preset1", "Preset2", ...

#include "settings/Preset.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

class ProfileFile;

constexpr int MaxPresets = 20;
constexpr std::string_view kDefaultPresetName = "(Default)";

class PresetTable {
public:
    // Reads the "Preset%d" sections, missing keys taking their defaults, from
    // one reading of the file, then calls EnsureDefaultPreset. Replaces the
    // table's content. The table holds sections 1 to "Presets" of
    // "Application" (a count of 0 or less, or none at all, counts as 0), and
    // past that count every further section that exists in a row: a section
    // the count fell behind (a count lost or edited by hand) is the user's
    // preset, never a free place for "(Default)". At most MaxPresets.
    // Returns the text to show when the file exists but cannot be read; the
    // table then holds "(Default)" only and the file is not written.
    std::optional<std::string> LoadPresets(ProfileFile& file);

    // When no preset is named "(Default)" and the table is not full, adds it
    // and writes "Presets" and its section to the file in one replacement,
    // but only when that section does not exist yet. A failed write is not
    // reported; the preset stays in the table. Returns whether it was added.
    bool EnsureDefaultPreset(ProfileFile& file);

    // Index of the first preset named exactly name (case-sensitive), or -1.
    int FindPreset(std::string_view name) const;

    int Count() const { return m_count; }
    // 0 <= index < Count().
    const Preset& At(int index) const { return m_presets[static_cast<std::size_t>(index)]; }

    // Table indexes in the order a sorted list shows the names: the order of
    // PresetNameBefore, without regard to the case of ASCII letters, and names
    // equal by it in table order. Element 0 is the preset a sorted list
    // selects first.
    std::vector<int> SortedOrder() const;

private:
    // EnsureDefaultPreset, told whether the section after the table's last is free.
    bool AddDefaultPreset(ProfileFile& file, bool sectionFree);

    std::array<Preset, MaxPresets> m_presets {};
    int m_count = 0;
};

}  // namespace kel
