#include "platform/ReportFiles.h"
#include "platform/TextRules.h"

#include <filesystem>

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

TEST(TextRules, ShownAndRecordedTextEscapeWhatIsNotWellFormedUtf8)
{
    const struct {
        const char* text;
        const char* printable;  // PrintableText
        const char* escaped;    // EscapeInvalidUtf8
    } cases[] = {
        {"bad\xff", "bad\\xFF", "bad\\xFF"},
        {"\xc3\xa4\x1b", "\xc3\xa4\\x1B", "\xc3\xa4\x1b"},            // valid, then a control character
        {"cut\xc3", "cut\\xC3", "cut\\xC3"},                          // a sequence cut short
        {"\xc0\xaf", "\\xC0\\xAF", "\\xC0\\xAF"},                    // overlong '/'
        {"\xed\xa0\x80", "\\xED\\xA0\\x80", "\\xED\\xA0\\x80"},        // a surrogate
        {"\xf4\x90\x80\x80", "\\xF4\\x90\\x80\\x80", "\\xF4\\x90\\x80\\x80"},  // past U+10FFFF
        {"\xf0\x9f\x98\x80\xc2\x85", "\xf0\x9f\x98\x80\\u0085", "\xf0\x9f\x98\x80\xc2\x85"},  // C1 control
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PrintableText(c.text), c.printable) << c.text;
        EXPECT_EQ(EscapeInvalidUtf8(c.text), c.escaped) << c.text;
    }
    EXPECT_EQ(Utf8Length("\xc3\xa4x\xf0\x9f\x98\x80"), 3u);
}

// Report paths have their Linux form only so far.
#ifndef _WIN32
TEST(TextRules, AbsolutePathsAreCleanedAsTextWithoutResolvingLinks)
{
    const std::string current = std::filesystem::current_path().string();
    const struct {
        const char* path;
        std::string absolute;
    } cases[] = {
        {"/a//b/./c/../d/", "/a/b/d"}, {"/..", "/"},        {"/", "/"},
        {"x/../y", current + "/y"},    {"", current},       {"/a/bad\xff/..", "/a"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AbsolutePath(c.path), c.absolute) << c.path;
    }
    EXPECT_EQ(FolderOf("/a/b"), "/a");
    EXPECT_EQ(FolderOf("/b"), "/");
    EXPECT_EQ(FolderOf("b"), ".");
    EXPECT_EQ(NameOf("/a/b"), "b");
}
#endif

}  // namespace
}  // namespace kel
