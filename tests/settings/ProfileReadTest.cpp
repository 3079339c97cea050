#include "tests/settings/SettingsTestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace kel {
namespace {

constexpr const char* kMissing = "<missing>";
constexpr std::int32_t kIntDefault = -99;

class ProfileRead : public test::SettingsFileTest {
protected:
    void SetText(std::string_view text) { test::WriteBytes(m_path, text); }
    std::string Str(std::string_view section, std::string_view key, std::size_t bufferSize = 256) const
    {
        return m_file.GetProfileString(section, key, kMissing, bufferSize);
    }
    std::int32_t Int(std::string_view section, std::string_view key) const
    {
        return m_file.GetProfileInt(section, key, kIntDefault);
    }
    // Reads key V of a section holding the single line "V=<value>".
    std::int32_t IntOf(std::string_view value)
    {
        SetText("[S]\nV=" + std::string(value) + "\n");
        return Int("S", "V");
    }

};

TEST_F(ProfileRead, MissingOrUnreadableFileGivesDefaults)
{
    EXPECT_EQ(Str("A", "k"), kMissing);
    EXPECT_EQ(Int("A", "k"), kIntDefault);
    ProfileFile directory(m_dir.Path());
    EXPECT_EQ(directory.GetProfileString("A", "k", "d", 10), "d");
    EXPECT_EQ(directory.GetProfileInt("A", "k", 5), 5);
}

TEST_F(ProfileRead, AcceptsEveryLineEndingMixedAndNoFinalNewline)
{
    SetText("[A]\r\none=1\ntwo=2\rthree=3\r\n[B]\rfour=4");
    EXPECT_EQ(Str("A", "one"), "1");
    EXPECT_EQ(Str("A", "two"), "2");
    EXPECT_EQ(Str("A", "three"), "3");
    EXPECT_EQ(Str("B", "four"), "4");
    EXPECT_EQ(Str("A", "four"), kMissing);

    const std::string longValue(5000, 'x');
    SetText("[A]\nlong=" + longValue + "\nafter=yes\n");
    EXPECT_EQ(Str("A", "long", 6000), longValue);
    EXPECT_EQ(Str("A", "after"), "yes");
}

TEST_F(ProfileRead, SectionHeadersTakeTheTextUpToTheLastBracket)
{
    SetText("  [ Preset1 ]\nk=1\n[Preset2] old\nk=2\n[Preset3]]\nk=3\n[Broken\nk=4\n\t[\t]\nk=5\n");
    EXPECT_EQ(Str("Preset1", "k"), "1");
    EXPECT_EQ(Str("Preset2", "k"), "2");
    EXPECT_EQ(Str("Preset3", "k"), kMissing);
    // "[Broken" holds no ']' and is no header, so k=4 still belongs to "Preset3]".
    EXPECT_EQ(Str("Preset3]", "k"), "3");
    EXPECT_EQ(Str("Broken", "k"), kMissing);
    EXPECT_EQ(Str("", "k"), "5");
}

TEST_F(ProfileRead, SectionAndKeyNamesIgnoreLetterCase)
{
    SetText("[PRESET1]\nnAmE=Fast\n");
    EXPECT_EQ(Str("Preset1", "Name"), "Fast");
    EXPECT_EQ(Str("preset1", "NAME"), "Fast");
}

TEST_F(ProfileRead, FirstSectionAndFirstKeyOfDuplicatesWin)
{
    SetText("[A]\nk=first\nk=second\n[B]\nx=1\n[a]\nk=third\nonlyLater=1\n");
    EXPECT_EQ(Str("A", "k"), "first");
    EXPECT_EQ(Str("A", "onlyLater"), kMissing);
}

TEST_F(ProfileRead, LinesBeforeTheFirstHeaderAreNeverFound)
{
    SetText("k=orphan\n[A]\nother=1\n");
    EXPECT_EQ(Str("A", "k"), kMissing);
    EXPECT_EQ(Str("", "k"), kMissing);
}

TEST_F(ProfileRead, CommentsAreWholeLinesOnly)
{
    SetText("[A]\n;Name=Hidden\n  # k=hidden\nName=Fast ; old\nk=2 # two\n");
    EXPECT_EQ(Str("A", "Name"), "Fast ; old");
    EXPECT_EQ(Str("A", "k"), "2 # two");
    EXPECT_EQ(Str("A", ";Name"), kMissing);
}

TEST_F(ProfileRead, KeyLinesSplitAtTheFirstEqualsAndAreTrimmed)
{
    SetText("[A]\n \t Name \v=\f a = b \x1A\nEmpty=\nBlank=   \t\n");
    EXPECT_EQ(Str("A", "Name"), "a = b");
    EXPECT_EQ(Str("A", "Empty"), "");
    EXPECT_EQ(Str("A", "Blank"), "");
}

TEST_F(ProfileRead, KeyWithoutEqualsGivesTheDefaultAndHidesALaterOne)
{
    SetText("[A]\nName\nName=Fast\nCount\nCount=7\n");
    EXPECT_EQ(Str("A", "Name"), kMissing);
    EXPECT_EQ(Int("A", "Count"), kIntDefault);
}

TEST_F(ProfileRead, MatchingOuterQuotesAreRemovedOthersStay)
{
    SetText("[A]\nd=\"  Fast  \"\ns='single'\no=\"Open\nc=Close\"\nm=\"Mixed'\nq=\"\nqq=\"\"\n"
            "in=a\"b\"c\nouter= \"x\" \n");
    EXPECT_EQ(Str("A", "d"), "  Fast  ");
    EXPECT_EQ(Str("A", "s"), "single");
    EXPECT_EQ(Str("A", "o"), "\"Open");
    EXPECT_EQ(Str("A", "c"), "Close\"");
    EXPECT_EQ(Str("A", "m"), "\"Mixed'");
    EXPECT_EQ(Str("A", "q"), "\"");
    EXPECT_EQ(Str("A", "qq"), "");
    EXPECT_EQ(Str("A", "in"), "a\"b\"c");
    EXPECT_EQ(Str("A", "outer"), "x");
}

TEST_F(ProfileRead, NulByteEndsTheValue)
{
    SetText(std::string("[A]\nk=abc\0def\nnext=1\n", 21));
    EXPECT_EQ(Str("A", "k"), "abc");
    EXPECT_EQ(Str("A", "next"), "1");
}

TEST_F(ProfileRead, BufferSizeLimitsTheCharactersNeverSplittingOne)
{
    SetText("[A]\nName=" + std::string(45, 'N') + "\nU=" + std::string(37, 'u') + "\xC3\xA9" + "tail\n" +
            "F=" + std::string(35, 'f') + "\xF0\x9F\x98\x80" + "\nLatin=" + std::string(37, 'l') + "\xE9\xE9\n");
    EXPECT_EQ(Str("A", "Name", 39), std::string(38, 'N'));
    EXPECT_EQ(Str("A", "U", 39), std::string(37, 'u') + "\xC3\xA9");
    EXPECT_EQ(Str("A", "U", 38), std::string(37, 'u'));
    EXPECT_EQ(Str("A", "F", 39), std::string(35, 'f') + "\xF0\x9F\x98\x80");
    // Bytes that are not UTF-8 count one character each.
    EXPECT_EQ(Str("A", "Latin", 39), std::string(37, 'l') + "\xE9");
    EXPECT_EQ(Str("A", "Name", 1), "");
    EXPECT_EQ(Str("A", "Name", 0), "");
    EXPECT_EQ(m_file.GetProfileString("A", "none", "(unnamed)", 5), "(unn");
}

TEST_F(ProfileRead, IntegersFallBackToTheDefaultOnlyWithoutAValue)
{
    SetText("[S]\nEmpty=\nBlank=  \nQuotedEmpty=\"\"\nWord=abc\nQuoted=\"42\"\n");
    EXPECT_EQ(Int("S", "Missing"), kIntDefault);
    EXPECT_EQ(Int("None", "Missing"), kIntDefault);
    EXPECT_EQ(Int("S", "Empty"), kIntDefault);
    EXPECT_EQ(Int("S", "Blank"), kIntDefault);
    EXPECT_EQ(Int("S", "QuotedEmpty"), kIntDefault);
    EXPECT_EQ(Int("S", "Word"), 0);
    EXPECT_EQ(Int("S", "Quoted"), 42);
}

TEST_F(ProfileRead, IntegerSignsAndTrailingText)
{
    EXPECT_EQ(IntOf("+7"), 7);
    EXPECT_EQ(IntOf("-5"), -5);
    EXPECT_EQ(IntOf("- 5"), 0);
    EXPECT_EQ(IntOf("--5"), 0);
    EXPECT_EQ(IntOf("+-5"), 0);
    EXPECT_EQ(IntOf("-"), 0);
    EXPECT_EQ(IntOf("12abc"), 12);
    EXPECT_EQ(IntOf("1e3"), 1);
    EXPECT_EQ(IntOf("7.9"), 7);
    EXPECT_EQ(IntOf("2 ; two"), 2);
    EXPECT_EQ(IntOf("   30   "), 30);
}

TEST_F(ProfileRead, IntegerPrefixesAreLowerCaseOnly)
{
    EXPECT_EQ(IntOf("0x10"), 16);
    EXPECT_EQ(IntOf("0xfF"), 255);
    EXPECT_EQ(IntOf("0b101"), 5);
    EXPECT_EQ(IntOf("0b102"), 2);
    EXPECT_EQ(IntOf("0o17"), 15);
    EXPECT_EQ(IntOf("0o9"), 0);
    EXPECT_EQ(IntOf("-0x10"), -16);
    EXPECT_EQ(IntOf("0X1F"), 0);
    EXPECT_EQ(IntOf("0B1"), 0);
    EXPECT_EQ(IntOf("010"), 10);
    EXPECT_EQ(IntOf("0x"), 0);
}

TEST_F(ProfileRead, IntegersOf32BitsReadAsSignedAndLongerOnesStayOutOfRange)
{
    EXPECT_EQ(IntOf("2147483647"), 2147483647);
    EXPECT_EQ(IntOf("2147483648"), -2147483647 - 1);
    EXPECT_EQ(IntOf("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(IntOf("4294967295"), -1);
    EXPECT_EQ(IntOf("4294967298"), INT32_MAX);
    EXPECT_EQ(IntOf("4294967297"), INT32_MAX) << "not 1, a valid file count";
    EXPECT_EQ(IntOf("-4294967297"), INT32_MIN);
    EXPECT_EQ(IntOf("0xffffffff"), -1);
    EXPECT_EQ(IntOf("0x100000005"), INT32_MAX);
    EXPECT_EQ(IntOf("99999999999999999999"), INT32_MAX);
}

TEST_F(ProfileRead, IntegersReadOnlyTheFirst29Characters)
{
    const std::string zeros27(27, '0');
    EXPECT_EQ(IntOf(zeros27 + "09"), 9);
    EXPECT_EQ(IntOf(zeros27 + "009"), 0);
    EXPECT_EQ(IntOf("1234567890123456789012345678901234"), INT32_MAX);
    EXPECT_EQ(IntOf(zeros27 + "10" + "99999"), 10);
    EXPECT_EQ(IntOf("-" + zeros27 + "7"), -7);
    EXPECT_EQ(IntOf("-" + zeros27 + "07"), 0);
    EXPECT_EQ(IntOf("0x" + zeros27 + "f"), 0);
    // Quotes are gone before the characters are counted.
    EXPECT_EQ(IntOf("\"" + zeros27 + "09\""), 9);
}

}  // namespace
}  // namespace kel
