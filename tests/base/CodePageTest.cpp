#include "base/CodePage.h"

#include <gtest/gtest.h>

using namespace CodePage;

TEST(CodePageTest, AnsiIsWindows1252BothWays)
{
    const std::string bytes = "Caf\xE9 \x80 \x93quote\x94 \x9F";
    const CString text = ToWide(CP_ACP, bytes);
    EXPECT_EQ(text, CString(u"Café € “quote” Ÿ"));
    EXPECT_EQ(FromWide(CP_ACP, text), bytes);
}

TEST(CodePageTest, EveryAnsiByteSurvivesARoundTrip)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    bool bDefault = true;
    EXPECT_EQ(FromWide(CP_ACP, ToWide(CP_ACP, all), &bDefault), all);
    EXPECT_FALSE(bDefault);
}

TEST(CodePageTest, UnmappableCharactersBecomeTheDefaultCharacter)
{
    bool bDefault = false;
    EXPECT_EQ(FromWide(CP_ACP, u"a\u4E2Db🎵c", &bDefault), "a?b?c");
    EXPECT_TRUE(bDefault);
}

TEST(CodePageTest, BoundedConversionNeverSplitsACharacter)
{
    EXPECT_EQ(FromWideBounded(CP_ACP, u"abcdef", 4), "abcd");
    // "é" takes two bytes in UTF-8: it does not fit in the last byte and is left out whole.
    EXPECT_EQ(FromWideBounded(CP_UTF8, u"abcé", 4), "abc");
    EXPECT_EQ(FromWideBounded(CP_UTF8, u"ab🎵", 5), "ab");
    EXPECT_EQ(FromWideBounded(CP_UTF8, u"ab🎵", 6), "ab\xF0\x9F\x8E\xB5");
    EXPECT_EQ(FromWideBounded(CP_ACP, u"abc", 0), "");
}

TEST(CodePageTest, InvalidUtf8BecomesReplacementCharacters)
{
    EXPECT_EQ(Utf8ToWide("a\xFF" "b"), CString(u"a\uFFFDb"));
    EXPECT_EQ(Utf8ToWide("a\xC3"), CString(u"a\uFFFD"));           // cut at the end
    EXPECT_EQ(Utf8ToWide("\xC3(x"), CString(u"\uFFFD(x"));         // bad continuation kept
    EXPECT_EQ(Utf8ToWide("\xC0\xAF"), CString(u"\uFFFD\uFFFD"));    // overlong
    EXPECT_EQ(Utf8ToWide("\xED\xA0\x80"), CString(u"\uFFFD\uFFFD\uFFFD")); // surrogate
    EXPECT_EQ(Utf8ToWide("\xF4\x90\x80\x80").GetLength(), 4);       // past U+10FFFF
    EXPECT_EQ(Utf8ToWide("\xE2\x82\xAC\xF0\x9F\x8E\xB5"), CString(u"€🎵"));
}

TEST(CodePageTest, LoneSurrogatesEncodeAsReplacement)
{
    const char16_t lone[] = {u'a', 0xD800, u'b', 0};
    EXPECT_EQ(WideToUtf8(lone), "a\xEF\xBF\xBD" "b");
}
