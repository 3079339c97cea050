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
    return old;
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
