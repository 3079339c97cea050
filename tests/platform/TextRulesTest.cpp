#include "platform/TextRules.h"

#include <gtest/gtest.h>

#include <string>

namespace kel {
namespace {

TEST(TextRules, CuttingNeverSplitsACharacter)
{
    const std::string euro = "ab\xE2\x82\xAC";  // "ab" and a three-byte character
    const struct {
        std::string text;
        std::size_t maxBytes;
        std::string kept;
    } cases[] = {
        {euro, 5, euro},
        {euro, 4, "ab"},
        {euro, 2, "ab"},
        {"ab\xE2\x82", 9, "ab\xE2\x82"},      // a cut-off character at the end stays
        {"a\xC3" "A", 2, "a\xC3"},            // a lead byte without its continuation is one byte
        {"\x80\x80\x80\x80", 2, "\x80\x80"},  // stray continuation bytes count one each
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CutUtf8(c.text, c.maxBytes), c.kept) << c.text << " at " << c.maxBytes;
    }
}

TEST(TextRules, CharacterCutsCountCharactersNotBytes)
{
    std::string umlauts;
    for (int i = 0; i < 45; ++i) {
        umlauts += "\xC3\x84";
    }
    EXPECT_EQ(CutUtf8Chars(umlauts, 38).size(), 76u);
    EXPECT_EQ(CutUtf8Chars("plain", 38), "plain");
    EXPECT_EQ(CutUtf8Chars("x\xF0\x9F\x98\x80y", 2), "x\xF0\x9F\x98\x80");
}

TEST(TextRules, CaseFoldingAndDigitsAreAsciiOnly)
{
    EXPECT_TRUE(EqualsIgnoringAsciiCase("PreSet1", "preset1"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("\xC3\x84", "\xC3\xA4"));  // Ä and ä differ
    EXPECT_FALSE(EqualsIgnoringAsciiCase("ab", "abc"));
    EXPECT_EQ(HexDigitValue('f'), 15);
    EXPECT_EQ(HexDigitValue('A'), 10);
    EXPECT_EQ(HexDigitValue('g'), -1);
}

}  // namespace
}  // namespace kel
