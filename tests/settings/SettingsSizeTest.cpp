// A big settings file is read once per load and, when "(Default)" is added,
// replaced once. The file system's own event counts show it, with no timing.

#include "settings/PresetTable.h"
#include "tests/settings/SettingsTestFiles.h"

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <string>

namespace kel {
namespace {

using test::kDefaultPresetKeys;
using test::PresetSection;

// Counts the events of one kind on a file or folder from now on. The kernel
// merges an event into an equal one still unread before it, so the watch
// also takes a second kind that comes in between (the close after an open,
// the new temporary file before a rename).
class FileEvents {
public:
    FileEvents(const std::string& path, std::uint32_t kind, std::uint32_t between)
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
        , m_kind(kind)
    {
        m_watching = m_fd >= 0 && inotify_add_watch(m_fd, path.c_str(), kind | between) >= 0;
    }
    ~FileEvents()
    {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    FileEvents(const FileEvents&) = delete;
    FileEvents& operator=(const FileEvents&) = delete;

    bool Watching() const { return m_watching; }

    int Count()
    {
        int count = 0;
        alignas(inotify_event) std::array<char, 65536> buffer {};
        for (ssize_t got = 0; (got = read(m_fd, buffer.data(), buffer.size())) > 0;) {
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
                count += (event->mask & m_kind) != 0 ? 1 : 0;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return count;
    }

private:
    int m_fd;
    std::uint32_t m_kind;
    bool m_watching = false;
};

// "Presets=<count>" and that many sections, with a megabyte of blank lines,
// comments and a long comment line after the keys of Preset10, which has no
// KelMinWrite, so reading it searches all of that.
std::string BigPresetFile(int count)
{
    std::string bulk;
    for (int i = 0; i < 100000; ++i) {
        bulk += i % 10 == 0 ? "; comment line\r\n" : "\n";
    }
    bulk += ";" + std::string(100000, 'x') + "\n";
    std::string text = "[Application]\nPresets=" + std::to_string(count) + "\n";
    for (int i = 1; i <= count; ++i) {
        text += PresetSection(i, "P" + std::to_string(i)) + "KelMinRead=" + std::to_string(i) + "\n";
        if (i == 10) {
            text += bulk;
        }
    }
    return text;
}

using BigFile = test::SettingsFileTest;

TEST_F(BigFile, LoadingReadsTheFileOnce)
{
    const std::string text = BigPresetFile(20);
    test::WriteBytes(m_path, text);
    FileEvents opens(m_path, IN_OPEN, IN_CLOSE_NOWRITE);
    ASSERT_TRUE(opens.Watching());
    PresetTable table;
    table.LoadPresets(m_file);
    EXPECT_EQ(opens.Count(), 1);
    ASSERT_EQ(table.Count(), 20);
    EXPECT_EQ(table.At(9).parameters.minRead, 10);
    EXPECT_EQ(table.At(9).parameters.minWrite, 0);
    EXPECT_EQ(table.At(19).name, "P20");
    EXPECT_EQ(table.At(19).parameters.numFiles, 20);
    EXPECT_EQ(test::ReadBytes(m_path), text);
}

TEST_F(BigFile, AddingTheDefaultReplacesTheFileOnce)
{
    std::string text = BigPresetFile(19);
    test::WriteBytes(m_path, text);
    FileEvents replacements(m_dir.Path(), IN_MOVED_TO, IN_CREATE);
    ASSERT_TRUE(replacements.Watching());
    PresetTable table;
    table.LoadPresets(m_file);
    EXPECT_EQ(replacements.Count(), 1);
    EXPECT_EQ(table.FindPreset("(Default)"), 19);
    text.replace(text.find("Presets=19"), 10, "Presets=20");
    EXPECT_EQ(test::ReadBytes(m_path), text + "[Preset20]\n" + kDefaultPresetKeys);
}

}  // namespace
}  // namespace kel
