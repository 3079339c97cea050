// Feeds arbitrary bytes as a settings file to the reader, the writer and the
// preset loader, with or without a byte-order mark. Everything is written
// inside one private temporary directory that is removed when the process
// ends.

#include "platform/TextRules.h"
#include "settings/PresetTable.h"
#include "settings/ProfileFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

namespace {

namespace fs = std::filesystem;

class FuzzDir {
public:
    FuzzDir()
    {
        std::random_device random;
        std::error_code error;
        for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
            const fs::path candidate = fs::temp_directory_path(error) / ("kelt-fuzz-" + std::to_string(random()));
            if (fs::create_directory(candidate, error)) {
                m_path = candidate;
            }
        }
        if (m_path.empty()) {
            std::abort();
        }
    }
    ~FuzzDir()
    {
        std::error_code error;
        fs::remove_all(m_path, error);
    }
    FuzzDir(const FuzzDir&) = delete;
    FuzzDir& operator=(const FuzzDir&) = delete;

    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool HasAtStart(std::string_view bytes, std::string_view mark)
{
    return bytes.substr(0, mark.size()) == mark;
}

// Writes the keys; a refused write leaves the file as it was, one that is
// done keeps the file's byte-order mark.
bool Write(kel::ProfileFile& file, std::span<const kel::ProfileSetting> settings)
{
    const std::string before = ReadBytes(file.Path());
    const bool written = file.WriteProfileStrings(settings);
    const std::string after = ReadBytes(file.Path());
    if (!written) {
        Check(after == before);
    }
    for (const std::string_view mark : {"\xEF\xBB\xBF", "\xFF\xFE"}) {
        Check(!HasAtStart(before, mark) || HasAtStart(after, mark));
    }
    return written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static FuzzDir dir;
    const fs::path path = dir.Path() / "KelTally.ini";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    kel::ProfileFile file(path);

    for (const char* section : {"Application", "Preset1", "preset2", "", "[x]"}) {
        for (const char* key : {"Presets", "Name", "NumFiles", "KelMinRead", ""}) {
            const std::string text = file.GetProfileString(section, key, "(unnamed)", 39);
            Check(kel::CutUtf8Chars(text, 38) == text);
            static_cast<void>(file.GetProfileInt(section, key, 7));
        }
    }

    kel::PresetTable table;
    table.LoadPresets(file);
    Check(table.Count() >= 1 && table.Count() <= kel::MaxPresets);
    Check(table.FindPreset(kel::kDefaultPresetName) >= 0 || table.Count() == kel::MaxPresets);
    for (int i = 0; i < table.Count(); ++i) {
        Check(kel::CutUtf8Chars(table.At(i).name, kel::kPresetNameMax) == table.At(i).name);
    }
    Check(static_cast<int>(table.SortedOrder().size()) == table.Count());

    // A write followed by a read gives back what was written.
    const std::string spaced = "  spaced \"text\" \xC3\xA9 ";
    const kel::ProfileSetting first[] = {{"Fuzz", "Value", spaced}, {"Preset1", "Name", "x"}};
    if (Write(file, first)) {
        Check(file.GetProfileString("Fuzz", "Value", "", 64) == spaced);
        Check(file.GetProfileString("preset1", "name", "", 64) == "x");
        const kel::ProfileSetting second[] = {{"fuzz", "value", "12"}};
        if (Write(file, second)) {
            Check(file.GetProfileInt("Fuzz", "Value", 0) == 12);
        }
    }
    return 0;
}
