#pragma once
// Reading and writing whole files byte for byte in settings tests, and a
// fixture with a settings file in a fresh temporary directory.

#include "settings/ProfileFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace kel::test {

inline void WriteBytes(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Dates the file's last change 400 days back and returns that time, so a test
// can tell whether the file was rewritten.
inline std::filesystem::file_time_type BackdateFile(const std::string& path)
{
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    std::filesystem::last_write_time(path, old);
    return std::filesystem::last_write_time(path);  // as the file system keeps it (Windows: 100 ns steps)
}

// The keys of the "(Default)" preset as the program writes them.
inline const std::string kDefaultPresetKeys =
    "Name=(Default)\nNumFiles=1\nFileSize=2400\nBufSize=96\nReadReps=30\nWriteReps=30\nSampsSec=10\n"
    "KelMinRead=0\nKelMinWrite=0\n";

// A settings file of one preset that is not "(Default)".
inline const std::string kPresetsWithoutDefault = "[Application]\nPresets=1\n[Preset1]\nName=Fast\nBufSize=1024\n";

// Section "Preset<number>" with that name and NumFiles=<number>.
inline std::string PresetSection(int number, std::string_view name)
{
    return "[Preset" + std::to_string(number) + "]\nName=" + std::string(name) + "\nNumFiles=" +
           std::to_string(number) + "\n";
}

// "Presets=<count>" and the sections 1 to sections, named P1, P2, ...
inline std::string PresetFile(int count, int sections)
{
    std::string text = "[Application]\nPresets=" + std::to_string(count) + "\n";
    for (int i = 1; i <= sections; ++i) {
        text += PresetSection(i, "P" + std::to_string(i));
    }
    return text;
}

// The text with every LF turned into eol.
inline std::string WithLineEnding(std::string_view text, std::string_view eol)
{
    std::string result;
    for (const char c : text) {
        result += c == '\n' ? std::string(eol) : std::string(1, c);
    }
    return result;
}

class SettingsFileTest : public ::testing::Test {
protected:
    SettingsFileTest()
        : m_path(m_dir.Path() + "/KelTally.ini")
        , m_file(m_path)
    {
    }

    TempDir m_dir;
    std::string m_path;
    ProfileFile m_file;
};

}  // namespace kel::test
