// Feeds arbitrary bytes as a settings file to the reader, the writer and the
// preset loader. Everything is written inside one private temporary directory
// that is removed when the process ends.

#include "settings/PresetTable.h"
#include "settings/ProfileFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
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
            Check(text.size() <= 38);
            static_cast<void>(file.GetProfileInt(section, key, 7));
        }
    }

    kel::PresetTable table;
    table.LoadPresets(file);
    Check(table.Count() >= 1 && table.Count() <= kel::MaxPresets);
    Check(table.FindPreset(kel::kDefaultPresetName) >= 0 || table.Count() == kel::MaxPresets);
    for (int i = 0; i < table.Count(); ++i) {
        Check(table.At(i).name.size() <= kel::kPresetNameMax);
    }
    Check(static_cast<int>(table.SortedOrder().size()) == table.Count());

    // A write followed by a read gives back what was written.
    if (file.WriteProfileString("Fuzz", "Value", "  spaced \"text\" ")) {
        Check(file.GetProfileString("Fuzz", "Value", "", 64) == "  spaced \"text\" ");
        Check(file.WriteProfileString("fuzz", "value", "12"));
        Check(file.GetProfileInt("Fuzz", "Value", 0) == 12);
    }
    return 0;
}
