#pragma once
// The presets read from the settings file: a fixed table of up to MaxPresets
// records in the order of their sections "Preset1", "Preset2", ...

#include "settings/Preset.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

class ProfileFile;

// Whether name a sorts before name b in the lists: bytes compared with ASCII
// letters taken as lower case, so "beta" comes before "Zeta" and "(Default)"
// before both.
bool PresetNameBefore(std::string_view a, std::string_view b);

constexpr int MaxPresets = 20;
// The most presets read from the package's file.
constexpr int MaxShippedPresets = 50;
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

    // The package's read-only presets, from a file in the same format (up to
    // MaxShippedPresets), replacing any read before; a missing file gives
    // none. They are listed after the user's own and never written anywhere.
    void LoadShippedPresets(const ProfileFile& file);
    int ShippedCount() const { return static_cast<int>(m_shipped.size()); }
    // The user's presets (0 to Count() - 1), then the shipped ones.
    int ListedCount() const { return m_count + ShippedCount(); }
    const Preset& Listed(int index) const;
    bool IsShipped(int index) const { return index >= m_count; }
    // SortedOrder(), then the shipped presets in their file's order.
    std::vector<int> ListedOrder() const;

    enum class Change {
        Done,
        TableFull,      // MaxPresets of the user's own already
        FileChanged,    // the file's count is no longer the table's: nothing written
        NotWritten,     // the file could not be written: the table is unchanged
    };
    // Stores preset in the user's file: in place of the user's first preset of
    // that name, or as the section after the last one with "Presets" raised.
    // Only that preset's keys (and the count) are written, in one replacement.
    Change SavePreset(ProfileFile& file, const Preset& preset);
    // Removes the user's preset at index (0 <= index < Count()): the later
    // ones move down a section each and "Presets" drops by one, in one
    // replacement of the file; the section beyond the new count is left as
    // it is, unread.
    Change DeletePreset(ProfileFile& file, int index);

private:
    // The count in the file now, read as LoadPresets reads it.
    static int CountInFile(const ProfileFile& file);
    // EnsureDefaultPreset, told whether the section after the table's last is free.
    bool AddDefaultPreset(ProfileFile& file, bool sectionFree);

    std::array<Preset, MaxPresets> m_presets {};
    int m_count = 0;
    std::vector<Preset> m_shipped;
};

// Where the package's presets file lies: the file named by the environment
// variable KELTALLY_PRESETS_FILE when it is set (a missing file then means
// none), else presets.ini in share/keltally beside the program's folder
// (/usr/bin -> /usr/share/keltally), else beside the program (a portable
// folder, as the Windows zip is), else in resourceDir (the source tree's
// res/ for a build that was not installed); empty when none exists.
std::filesystem::path ShippedPresetsPath(const std::filesystem::path& programDir,
                                         const std::filesystem::path& resourceDir);

}  // namespace kel
