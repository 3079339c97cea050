#include "cli/CliPresets.h"

#include "platform/ReportFiles.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsLocation.h"

#include "platform/TextRules.h"
#include "settings/PresetTable.h"

#include <nlohmann/json.hpp>

namespace kel {

namespace {

void ApplyPresetAt(const PresetTable& presets, int index, CliOptions& options)
{
    const RunParameters fromPreset = ParametersOf(presets.Listed(index));
    for (std::size_t i = 0; i < kRunParameterTable.size(); ++i) {
        if (!options.setOnCommandLine[i]) {
            options.parameters.*kRunParameterTable[i].field = fromPreset.*kRunParameterTable[i].field;
        }
    }
}

// text padded to width characters: at the right when width is negative, else at the left.
std::string Padded(const std::string& text, int width)
{
    const std::size_t length = Utf8Length(text);
    const std::size_t wanted = static_cast<std::size_t>(width < 0 ? -width : width);
    const std::string padding(length < wanted ? wanted - length : 0, ' ');
    return width < 0 ? text + padding : padding + text;
}

// The name and the eight values a preset holds, in table order.
std::string Row(const std::string& name, const std::vector<std::string>& values)
{
    constexpr int kWidths[] = {5, 7, 5, 5, 6, 4, 8, 8};
    std::string row = Padded(name, -38);
    for (std::size_t i = 0; i < values.size() && i < std::size(kWidths); ++i) {
        row += " " + Padded(values[i], kWidths[i]);
    }
    return row + "\n";
}

}  // namespace

void LoadRunnerPresets(PresetTable& presets)
{
    ProfileFile settings(SettingsFilePath());
    if (const auto problem = presets.LoadPresets(settings)) {
        std::fprintf(stderr, "keltally-cli: %s\n", PrintableText(*problem).c_str());
    }
    const std::string folder = ExecutableFolder();  // UTF-8 on Windows
    const std::filesystem::path shipped =
        ShippedPresetsPath(std::u8string(folder.begin(), folder.end()), KELT_RES_SOURCE_DIR);
    if (!shipped.empty()) {
        presets.LoadShippedPresets(ProfileFile(shipped));
    }
}

std::optional<std::string> ApplyPreset(const PresetTable& presets, CliOptions& options)
{
    if (options.presetName.empty()) {
        // A full table may lack "(Default)"; the built-in values stand for it.
        const int index = presets.FindPreset(kDefaultPresetName);
        if (index >= 0) {
            ApplyPresetAt(presets, index, options);
        }
        return std::nullopt;
    }
    // The user's own first, as the dialog lists them, then the package's.
    int index = presets.FindPreset(options.presetName);
    for (int i = presets.Count(); index < 0 && i < presets.ListedCount(); ++i) {
        index = presets.Listed(i).name == options.presetName ? i : -1;
    }
    if (index < 0) {
        return "there is no preset named \"" + PrintableText(options.presetName) + "\" (see --list-presets)";
    }
    ApplyPresetAt(presets, index, options);
    return std::nullopt;
}

std::string FormatPresetList(const PresetTable& presets, bool json)
{
    if (json) {
        nlohmann::json list = nlohmann::json::array();
        for (int i = 0; i < presets.ListedCount(); ++i) {
            const Preset& p = presets.Listed(i);
            nlohmann::json preset = {{"name", EscapeInvalidUtf8(p.name)}};
            if (presets.IsShipped(i)) {
                preset["shipped"] = true;
            }
            // The keys the list has always had, and the record's beside them.
            for (const ParameterSpec& spec : kRunParameterTable) {
                if (!spec.settingsKey.empty()) {
                    preset[std::string(spec.presetListKey)] = p.parameters.*spec.field;
                    preset[std::string(spec.recordKey)] = p.parameters.*spec.field;
                }
            }
            list.push_back(preset);
        }
        return list.dump(4) + "\n";
    }
    std::string text = Row("Name", {"Files", "FileKB", "BufKB", "Reads", "Writes", "Res", "MinRead", "MinWrite"});
    for (int i = 0; i < presets.ListedCount(); ++i) {
        const Preset& p = presets.Listed(i);
        std::vector<std::string> values;
        for (const ParameterSpec& spec : kRunParameterTable) {
            if (!spec.settingsKey.empty()) {
                values.push_back(std::to_string(p.parameters.*spec.field));
            }
        }
        text += Row(PrintableText(p.name), values);
    }
    return text;
}

}  // namespace kel
