#include "platform/TextRules.h"
#include "settings/PresetTable.h"
#include "tests/settings/SettingsTestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kel {
namespace {

namespace fs = std::filesystem;
using test::kDefaultPresetKeys;
using test::PresetFile;
using test::PresetSection;

void ExpectDefaultValues(const Preset& p)
{
    EXPECT_EQ(p.name, "(Default)");
    EXPECT_EQ(p.parameters.numFiles, 1);
    EXPECT_EQ(p.parameters.fileSizeKB, 2400);
    EXPECT_EQ(p.parameters.bufSizeKB, 96);
    EXPECT_EQ(p.parameters.readReps, 30);
    EXPECT_EQ(p.parameters.writeReps, 30);
    EXPECT_EQ(p.parameters.sampsSec, 10);
    EXPECT_EQ(p.parameters.minRead, 0);
    EXPECT_EQ(p.parameters.minWrite, 0);
}

class Presets : public test::SettingsFileTest {
protected:
    // Loads from text and checks that the file was left exactly as it was.
    void LoadUnwritten(const std::string& text)
    {
        test::WriteBytes(m_path, text);
        const auto old = test::BackdateFile(m_path);
        m_table.LoadPresets(m_file);
        EXPECT_EQ(test::ReadBytes(m_path), text);
        EXPECT_EQ(fs::last_write_time(m_path), old);
    }

    void Load(const std::string& text)
    {
        test::WriteBytes(m_path, text);
        m_table.LoadPresets(m_file);
    }

    PresetTable m_table;
};

TEST_F(Presets, NoSettingsFileCreatesItWithTheDefaultPresetOnly)
{
    ProfileFile file(m_dir.Path() + "/config/KelTally.ini");
    m_table.LoadPresets(file);
    ASSERT_EQ(m_table.Count(), 1);
    ExpectDefaultValues(m_table.At(0));
    EXPECT_EQ(test::ReadBytes(file.Path().string()), "[Application]\nPresets=1\n[Preset1]\n" + kDefaultPresetKeys);
}

TEST_F(Presets, SectionsPastTheCountAreReadNotOverwritten)
{
    const std::string counted = PresetFile(3, 3);
    LoadUnwritten(counted + "[Preset4]\nFileSize=7\nExtra=keep\nname=Old\n[Preset5]\nName=(Default)\n");
    ASSERT_EQ(m_table.Count(), 5);
    EXPECT_EQ(m_table.At(2).name, "P3");
    EXPECT_EQ(m_table.At(2).parameters.numFiles, 3);
    EXPECT_EQ(m_table.At(3).name, "Old");
    EXPECT_EQ(m_table.At(3).parameters.fileSizeKB, 7);
    EXPECT_EQ(m_table.FindPreset("(Default)"), 4);
}

TEST_F(Presets, DefaultIsMatchedExactlyAfterTrimmingAndQuotes)
{
    Load("[Application]\nPresets=1\n[Preset1]\nName=(default)\n");
    ASSERT_EQ(m_table.Count(), 2);
    EXPECT_EQ(m_table.At(0).name, "(default)");
    EXPECT_EQ(m_table.FindPreset("(Default)"), 1);
    EXPECT_EQ(test::ReadBytes(m_path), "[Application]\nPresets=2\n[Preset1]\nName=(default)\n[Preset2]\n" +
                                           kDefaultPresetKeys);

    LoadUnwritten("[Application]\nPresets=2\n[Preset1]\nName=\"(Default)\"\n[Preset2]\nName=   (Default)   \n");
    EXPECT_EQ(m_table.Count(), 2);
    EXPECT_EQ(m_table.FindPreset("(Default)"), 0);
}

TEST_F(Presets, CountIsCappedAtTwentyAndAFullTableIsNotWritten)
{
    LoadUnwritten(PresetFile(25, 25));
    ASSERT_EQ(m_table.Count(), MaxPresets);
    EXPECT_EQ(m_table.At(19).name, "P20");
    EXPECT_EQ(m_table.FindPreset("(Default)"), -1);
    EXPECT_FALSE(m_table.EnsureDefaultPreset(m_file));

    LoadUnwritten(PresetFile(20, 20) + PresetSection(21, "(Default)"));
    EXPECT_EQ(m_table.Count(), MaxPresets);
    EXPECT_EQ(m_table.FindPreset("(Default)"), -1);
}

TEST_F(Presets, AnUnusableCountOrASectionPastItKeepsTheUsersPresets)
{
    const std::string fast = "[Preset1]\nName=Fast\nNumFiles=9\n";
    const std::string slow = "[Preset2]\nName=Slow\nNumFiles=3\n";
    struct Case {
        std::string application;  // the [Application] section as the file has it
        std::string sections;
        std::vector<std::string> names;
        std::string written;  // the file afterwards, "" for unchanged
    };
    const Case cases[] = {
        {"", fast, {"Fast", "(Default)"}, fast + "[Application]\nPresets=2\n[Preset2]\n" + kDefaultPresetKeys},
        {"[Application]\nPresets\n", fast + slow, {"Fast", "Slow", "(Default)"}, ""},
        {"[Application]\nPresets=0\n", fast, {"Fast", "(Default)"}, ""},
        {"[Application]\nPresets=-4\n", fast, {"Fast", "(Default)"}, ""},
        {"[Application]\nPresets=abc\n", fast, {"Fast", "(Default)"}, ""},
        {"[Application]\nPresets=\n", fast, {"Fast", "(Default)"}, ""},
        {"[Application]\nPresets=0x80000000\n", fast, {"Fast", "(Default)"}, ""},
        // A section past the count, and one past a count too high for the sections.
        {"[Application]\nPresets=1\n", fast + slow, {"Fast", "Slow", "(Default)"}, ""},
        {"[Application]\nPresets=2\n", fast + "[Preset3]\nName=Third\n", {"Fast", "(unnamed)", "Third", "(Default)"},
         ""},
    };
    for (const Case& c : cases) {
        const std::string text = c.application + c.sections;
        Load(text);
        std::vector<std::string> names;
        for (int i = 0; i < m_table.Count(); ++i) {
            names.push_back(m_table.At(i).name);
        }
        EXPECT_EQ(names, c.names) << text;
        EXPECT_EQ(m_table.At(0).parameters.numFiles, 9) << text;
        const std::string after = test::ReadBytes(m_path);
        if (!c.written.empty()) {
            EXPECT_EQ(after, c.written) << text;
        }
        // Every section the user had is still there, word for word, and the
        // default took a section of its own that the count now covers.
        EXPECT_NE(after.find(c.sections), std::string::npos) << text << after;
        const std::string last = "[Preset" + std::to_string(c.names.size()) + "]\n" + kDefaultPresetKeys;
        EXPECT_NE(after.find(last), std::string::npos) << text << after;
        EXPECT_NE(after.find("Presets=" + std::to_string(c.names.size()) + "\n"), std::string::npos) << after;
    }
}

TEST_F(Presets, AnUnreadableFileIsReportedAndNotWritten)
{
    fs::create_directory(m_path);
    const std::optional<std::string> problem = m_table.LoadPresets(m_file);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(*problem, "The settings file \"" + m_path +
                            "\" could not be read, so its presets are not shown; it is left as it is.");
    ASSERT_EQ(m_table.Count(), 1);
    ExpectDefaultValues(m_table.At(0));
    EXPECT_TRUE(fs::is_directory(m_path));
    EXPECT_TRUE(fs::is_empty(m_path));

    fs::remove(m_path);
    EXPECT_EQ(m_table.LoadPresets(m_file), std::nullopt) << "a missing file is no problem";
}

TEST_F(Presets, NamesAreCutTo38CharactersNeverSplittingOne)
{
    std::string umlauts45;
    for (int i = 0; i < 45; ++i) {
        umlauts45 += "\xC3\x84";  // Ä
    }
    const std::string cases[][2] = {
        {std::string(45, 'n'), std::string(38, 'n')},
        {umlauts45, umlauts45.substr(0, 2 * 38)},
        {std::string(37, 'u') + "\xE2\x82\xAC" + "end", std::string(37, 'u') + "\xE2\x82\xAC"},
    };
    std::string text = "[Application]\nPresets=3\n";
    for (int i = 0; i < 3; ++i) {
        text += "[Preset" + std::to_string(i + 1) + "]\nName=" + cases[i][0] + "\n";
    }
    Load(text);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(m_table.At(i).name, cases[i][1]) << i;
    }
}

TEST_F(Presets, MissingKeysAndSectionsTakeTheirDefaults)
{
    Load("[Application]\nPresets=3\n[Preset1]\nName=Only name\n[Preset2]\nNumFiles=-5\nFileSize=0x10\n"
         "KelMinRead=1500\n");
    ASSERT_EQ(m_table.Count(), 4);
    const Preset& onlyName = m_table.At(0);
    EXPECT_EQ(onlyName.name, "Only name");
    for (const std::int32_t value : {onlyName.parameters.numFiles, onlyName.parameters.fileSizeKB, onlyName.parameters.bufSizeKB, onlyName.parameters.readReps,
                                     onlyName.parameters.writeReps, onlyName.parameters.sampsSec}) {
        EXPECT_EQ(value, 1);
    }
    EXPECT_EQ(onlyName.parameters.minRead, 0);
    EXPECT_EQ(onlyName.parameters.minWrite, 0);
    const Preset& unnamed = m_table.At(1);
    EXPECT_EQ(unnamed.name, "(unnamed)");
    EXPECT_EQ(unnamed.parameters.numFiles, -5);
    EXPECT_EQ(unnamed.parameters.fileSizeKB, 16);
    EXPECT_EQ(unnamed.parameters.bufSizeKB, 1);
    EXPECT_EQ(unnamed.parameters.minRead, 1500);
    EXPECT_EQ(m_table.At(2).name, "(unnamed)");
    EXPECT_EQ(m_table.At(2).parameters.sampsSec, 1);
}

TEST_F(Presets, ListOrderIgnoresLetterCaseAndKeepsDuplicatesInTableOrder)
{
    Load("[Application]\nPresets=8\n" + PresetSection(1, "b") + PresetSection(2, "a") + PresetSection(3, "A") +
         PresetSection(4, "(Default)") + PresetSection(5, "a") + PresetSection(6, "B") + PresetSection(7, "Zeta") +
         PresetSection(8, "beta"));
    ASSERT_EQ(m_table.Count(), 8);
    EXPECT_EQ(m_table.FindPreset("a"), 1);
    EXPECT_EQ(m_table.At(4).parameters.numFiles, 5);
    EXPECT_EQ(m_table.FindPreset("c"), -1);
    EXPECT_EQ(m_table.SortedOrder(), (std::vector<int> {3, 1, 2, 4, 0, 5, 7, 6}));
}

TEST_F(Presets, EmptyTableFindsNothingAndSortsToNothing)
{
    EXPECT_EQ(m_table.FindPreset(""), -1);
    EXPECT_EQ(m_table.FindPreset("(Default)"), -1);
    EXPECT_TRUE(m_table.SortedOrder().empty());
}

TEST_F(Presets, FailedWriteBackKeepsTheDefaultInTheTableAndTheFileWhole)
{
    fs::create_directory(m_path);
    m_table.LoadPresets(m_file);
    ASSERT_EQ(m_table.Count(), 1);
    ExpectDefaultValues(m_table.At(0));
    EXPECT_TRUE(fs::is_directory(m_path));

    const std::string blocker = m_dir.Path() + "/config";
    test::WriteBytes(blocker, "not a directory");
    ProfileFile blocked(blocker + "/KelTally.ini");
    PresetTable table;
    table.LoadPresets(blocked);
    EXPECT_EQ(table.Count(), 1);
    EXPECT_EQ(test::ReadBytes(blocker), "not a directory");
    EXPECT_EQ(m_dir.Entries(), (std::vector<std::string> {"KelTally.ini", "config"}));
}

TEST(PresetNameText, ControlCharactersPrintAsEscapes)
{
    const struct {
        std::string name;
        std::string printed;
    } cases[] = {
        {"Fast \"C:\\disk\" \xC3\x84rger", "Fast \"C:\\disk\" \xC3\x84rger"},
        {"\x1B]0;title\x07\x1B[2J", "\\x1B]0;title\\x07\\x1B[2J"},
        {std::string("a\tb\x7F\x01", 5), "a\\x09b\\x7F\\x01"},
        // C1 controls; NBSP stays; a lead byte with nothing after it is not UTF-8
        {"\xC2\x9B" "31m\xC2\x85\xC2\xA0\xC2", "\\u009B31m\\u0085\xC2\xA0\\xC2"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PrintableText(c.name), c.printed) << c.name;
    }
}

}  // namespace
}  // namespace kel
