// Settings files with a byte-order mark: UTF-8 after EF BB BF and UTF-16LE
// after FF FE are read as text and written back in their own encoding.

#include "settings/PresetTable.h"
#include "tests/settings/SettingsTestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace kel {
namespace {

using test::kDefaultPresetKeys;
using test::ReadBytes;
using test::WithLineEnding;
using test::WriteBytes;

const std::string kUtf8Mark = "\xEF\xBB\xBF";

// The UTF-16LE file of text: the mark, then each code unit low byte first.
std::string Utf16Le(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::u16string Widen(std::string_view ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

const std::string kOnePreset = "[Application]\r\nPresets=1\r\n[Preset1]\r\nName=WithBom\r\nNumFiles=5\r\n";
const std::string kWithDefault = "[Application]\r\nPresets=2\r\n[Preset1]\r\nName=WithBom\r\nNumFiles=5\r\n"
                                 "[Preset2]\r\n" + WithLineEnding(kDefaultPresetKeys, "\r\n");

class Encodings : public test::SettingsFileTest {
protected:
    void ExpectPresetAndDefault()
    {
        ASSERT_EQ(m_table.Count(), 2);
        EXPECT_EQ(m_table.At(0).name, "WithBom");
        EXPECT_EQ(m_table.At(0).parameters.numFiles, 5);
        EXPECT_EQ(m_table.FindPreset("(Default)"), 1);
    }

    PresetTable m_table;
};

TEST_F(Encodings, Utf8MarkIsNotPartOfTheFirstLineAndStaysAtTheStart)
{
    WriteBytes(m_path, kUtf8Mark + kOnePreset);
    m_table.LoadPresets(m_file);
    ExpectPresetAndDefault();
    EXPECT_EQ(ReadBytes(m_path), kUtf8Mark + kWithDefault);

    WriteBytes(m_path, kUtf8Mark);
    ASSERT_TRUE(m_file.WriteProfileString("A", "k", "v"));
    EXPECT_EQ(ReadBytes(m_path), kUtf8Mark + "[A]\nk=v\n");
}

TEST_F(Encodings, Utf16LeIsReadAndWrittenBackAsUtf16Le)
{
    WriteBytes(m_path, Utf16Le(Widen(kOnePreset)));
    m_table.LoadPresets(m_file);
    ExpectPresetAndDefault();
    EXPECT_EQ(ReadBytes(m_path), Utf16Le(Widen(kWithDefault)));

    WriteBytes(m_path, Utf16Le(u"[A]\nName=\u00C4rger \U0001F600\n"));
    EXPECT_EQ(m_file.GetProfileString("A", "Name", "", 39), "\xC3\x84rger \xF0\x9F\x98\x80");
}

TEST_F(Encodings, Utf16LeKeepsEveryOtherCodeUnitEvenUnpairedSurrogates)
{
    const std::u16string head = u"; \xD800 lead, \xDC00 trail, \U0001F600 pair\n[A]\nk=";
    const std::u16string tail = u"\n; \xDBFF\xDBFF\n";
    WriteBytes(m_path, Utf16Le(head + u"1" + tail));
    ASSERT_TRUE(m_file.WriteProfileString("A", "k", "\xC3\xA9"));
    EXPECT_EQ(ReadBytes(m_path), Utf16Le(head + u"\u00E9" + tail));
}

TEST_F(Encodings, Utf16LeFileIsLeftAsItIsWhenItCannotCarryTheChange)
{
    const struct {
        std::string file;
        std::string value;
    } cases[] = {
        {Utf16Le(u"[A]\nk=1\n") + "\x41", "2"},       // ends in half a code unit
        {Utf16Le(u"[A]\nk=1\n"), "caf\xE9"},          // the value is not UTF-8
        {Utf16Le(u"[A]\nk=1\n"), "\xED\xA0\x80\xED\xB0\x80"},  // would read back as another character
    };
    for (const auto& c : cases) {
        WriteBytes(m_path, c.file);
        EXPECT_EQ(m_file.GetProfileInt("A", "k", 0), 1);
        EXPECT_FALSE(m_file.WriteProfileString("A", "k", c.value));
        EXPECT_EQ(ReadBytes(m_path), c.file);
    }
}

}  // namespace
}  // namespace kel
