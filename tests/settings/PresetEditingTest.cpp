// The package's read-only presets beside the user's, and saving and deleting
// the user's own presets in their file.

#include "engine/RunParameters.h"
#include "settings/PresetTable.h"
#include "tests/settings/SettingsTestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace kel {
namespace {

namespace fs = std::filesystem;
using test::PresetFile;
using test::ReadBytes;
using test::WriteBytes;

class PresetEditing : public test::SettingsFileTest {
protected:
    std::vector<std::string> ListedNames() const
    {
        std::vector<std::string> names;
        for (const int index : m_table.ListedOrder()) {
            names.push_back((m_table.IsShipped(index) ? "shipped " : "") + m_table.Listed(index).name);
        }
        return names;
    }
    void Load(const std::string& text)
    {
        WriteBytes(m_path, text);
        m_table.LoadPresets(m_file);
    }

    PresetTable m_table;
};

TEST_F(PresetEditing, ShippedPresetsFollowTheUsersAndNeitherFileIsWritten)
{
    const std::string user = "[Application]\nPresets=3\n[Preset1]\nName=Zed\n[Preset2]\nName=alpha\n"
                             "[Preset3]\nName=(Default)\n";
    const std::string shippedText = "[Application]\nPresets=2\n[Preset1]\nName=Card\nKelMinWrite=5722\n"
                                    "[Preset2]\nName=Alpha\n";
    const std::string shippedPath = m_dir.Path() + "/presets.ini";
    WriteBytes(shippedPath, shippedText);
    Load(user);
    m_table.LoadShippedPresets(ProfileFile(shippedPath));
    EXPECT_EQ(ListedNames(),
              (std::vector<std::string> {"(Default)", "alpha", "Zed", "shipped Card", "shipped Alpha"}));
    EXPECT_EQ(m_table.Count(), 3);
    EXPECT_EQ(m_table.Listed(3).parameters.minWrite, 5722);
    EXPECT_EQ(m_table.FindPreset("Card"), -1) << "only the user's own are found by name";
    EXPECT_EQ(ReadBytes(m_path), user);
    EXPECT_EQ(ReadBytes(shippedPath), shippedText);
    // Saving a preset of the user's keeps the shipped ones after it.
    Preset mine;
    mine.name = "Mine";
    ASSERT_EQ(m_table.SavePreset(m_file, mine), PresetTable::Change::Done);
    EXPECT_EQ(ListedNames().back(), "shipped Alpha");
    EXPECT_EQ(ReadBytes(m_path).find("Card"), std::string::npos);

    m_table.LoadShippedPresets(ProfileFile(m_dir.Path() + "/missing.ini"));
    EXPECT_EQ(m_table.ShippedCount(), 0);
}

// Every preset the package ships can be run as it stands, fits the list, and
// moves at least 32 MB per pass, so a pass takes seconds on its device.
TEST(ShippedPresets, TheFileInThePackageHoldsRunnablePresets)
{
    PresetTable table;
    table.LoadShippedPresets(ProfileFile(fs::path(KELT_SOURCE_DIR) / "res" / "presets.ini"));
    ASSERT_GE(table.ShippedCount(), 10);
    std::vector<int> cardThresholds;
    for (int i = 0; i < table.ShippedCount(); ++i) {
        const Preset& preset = table.Listed(i);
        SCOPED_TRACE(preset.name);
        const RunParameters parameters = ParametersOf(preset);
        EXPECT_EQ(FirstUnacceptedParameter(parameters), nullptr);
        EXPECT_EQ(preset.parameters.fileSizeKB % preset.parameters.bufSizeKB, 0);
        EXPECT_LE(preset.name.size(), kPresetNameMax);
        EXPECT_GE(static_cast<long long>(preset.parameters.numFiles) * preset.parameters.fileSizeKB, 32 * 1024);
        if (preset.name.starts_with("SD Card Video Class V")) {
            cardThresholds.push_back(preset.parameters.minWrite);
        }
    }
    // The class's 1,000,000-byte MB/s in the program's 1,048,576-byte MB/s,
    // in thousandths, rounded down.
    EXPECT_EQ(cardThresholds, (std::vector<int> {5722, 9536, 28610, 57220, 85830}));
}

TEST_F(PresetEditing, SaveAddsOrReplacesOnlyThatPreset)
{
    const std::string before = "; mine\r\n[Application]\r\nPresets=2\r\nGraphScale=auto\r\n[Preset1]\r\nName=One\r\n"
                               "Extra=kept\r\n[Preset2]\r\nName=(Default)\r\n";
    Load(before);
    Preset card {"Card \"V30\"", 4, 51200, 1024, 1, 3, 10, 0, 28610};
    ASSERT_EQ(m_table.SavePreset(m_file, card), PresetTable::Change::Done);
    const std::string added = "[Preset3]\r\nName=Card \"V30\"\r\nNumFiles=4\r\nFileSize=51200\r\nBufSize=1024\r\n"
                              "ReadReps=1\r\nWriteReps=3\r\nSampsSec=10\r\nKelMinRead=0\r\nKelMinWrite=28610\r\n";
    std::string expected = before + added;
    expected.replace(expected.find("Presets=2"), 9, "Presets=3");
    EXPECT_EQ(ReadBytes(m_path), expected);
    EXPECT_EQ(m_table.Count(), 3);

    // The same name again replaces the values in place.
    Preset one {"One", 2, 64, 32, 5, 6, 20, 1500, -1};
    ASSERT_EQ(m_table.SavePreset(m_file, one), PresetTable::Change::Done);
    const std::string replaced = "[Preset1]\r\nName=One\r\nExtra=kept\r\nNumFiles=2\r\nFileSize=64\r\nBufSize=32\r\n"
                                 "ReadReps=5\r\nWriteReps=6\r\nSampsSec=20\r\nKelMinRead=1500\r\nKelMinWrite=-1\r\n";
    const std::string old = "[Preset1]\r\nName=One\r\nExtra=kept\r\n";
    expected.replace(expected.find(old), old.size(), replaced);
    EXPECT_EQ(ReadBytes(m_path), expected);
    EXPECT_EQ(m_table.Count(), 3);
    EXPECT_EQ(m_table.At(0).parameters.minRead, 1500);
}

// A full table, or a file whose count another program changed since it was
// read (writing by the old numbering could overwrite its presets): nothing is
// written and the table stays as it was.
TEST_F(PresetEditing, RefusalsLeaveTableAndFileAlone)
{
    const struct {
        const char* what;
        std::string loaded;
        std::string changedTo;
        PresetTable::Change save;
        bool deleteRefused;
    } cases[] = {
        {"file changed", PresetFile(2, 2), PresetFile(5, 5), PresetTable::Change::FileChanged, true},
        {"table full", PresetFile(20, 20), PresetFile(20, 20), PresetTable::Change::TableFull, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Load(c.loaded);
        WriteBytes(m_path, c.changedTo);
        const int count = m_table.Count();
        Preset added;
        added.name = "New";
        EXPECT_EQ(m_table.SavePreset(m_file, added), c.save);
        EXPECT_EQ(ReadBytes(m_path), c.changedTo);
        EXPECT_EQ(m_table.Count(), count);
        if (c.deleteRefused) {
            EXPECT_EQ(m_table.DeletePreset(m_file, 0), PresetTable::Change::FileChanged);
            EXPECT_EQ(ReadBytes(m_path), c.changedTo);
            EXPECT_EQ(m_table.Count(), count);
        }
    }
}

TEST_F(PresetEditing, DeleteMovesTheLaterPresetsDown)
{
    Load(PresetFile(4, 4) + "[Preset1]\nName=dup\n");
    ASSERT_EQ(m_table.Count(), 5) << "four and the (Default) added";
    ASSERT_EQ(m_table.DeletePreset(m_file, 1), PresetTable::Change::Done);
    const std::vector<std::string> left {"P1", "P3", "P4", "(Default)"};
    ASSERT_EQ(m_table.Count(), 4);
    // The file reads back the same four, values with their names.
    PresetTable reread;
    reread.LoadPresets(m_file);
    ASSERT_EQ(reread.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(m_table.At(i).name, left[static_cast<std::size_t>(i)]);
        EXPECT_EQ(reread.At(i).name, left[static_cast<std::size_t>(i)]);
        EXPECT_EQ(reread.At(i).parameters.numFiles, m_table.At(i).parameters.numFiles);
    }
    EXPECT_EQ(reread.At(1).parameters.numFiles, 3);
    EXPECT_EQ(m_table.DeletePreset(m_file, 5), PresetTable::Change::NotWritten);
}

// Sets or (value null) removes an environment variable.
void SetVariable(const char* name, const char* value)
{
#ifdef _WIN32
    _putenv_s(name, value != nullptr ? value : "");
#else
    if (value != nullptr) {
        setenv(name, value, 1);
    } else {
        unsetenv(name);
    }
#endif
}

TEST_F(PresetEditing, ShippedFileIsFoundInstalledOrInTheSourceTree)
{
    const fs::path root = m_dir.Path();
    fs::create_directories(root / "usr/bin");
    fs::create_directories(root / "usr/share/keltally");
    fs::create_directories(root / "src/res");
    WriteBytes((root / "src/res/presets.ini").string(), "");
    SetVariable("KELTALLY_PRESETS_FILE", nullptr);
    EXPECT_EQ(ShippedPresetsPath(root / "usr/bin", root / "src/res"), root / "src/res/presets.ini");
    WriteBytes((root / "usr/share/keltally/presets.ini").string(), "");
    EXPECT_EQ(ShippedPresetsPath(root / "usr/bin", root / "src/res"), root / "usr/share/keltally/presets.ini");
    EXPECT_EQ(ShippedPresetsPath(root / "none", root / "none"), fs::path());
    fs::create_directories(root / "portable");
    WriteBytes((root / "portable/presets.ini").string(), "");
    EXPECT_EQ(ShippedPresetsPath(root / "portable", root / "src/res"), root / "portable/presets.ini");
    SetVariable("KELTALLY_PRESETS_FILE", "/named/presets.ini");
    EXPECT_EQ(ShippedPresetsPath(root / "usr/bin", root / "src/res"), fs::path("/named/presets.ini"));
    SetVariable("KELTALLY_PRESETS_FILE", nullptr);
}

}  // namespace
}  // namespace kel
