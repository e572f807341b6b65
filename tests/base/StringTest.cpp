#include "base/String.h"

#include <gtest/gtest.h>

TEST(CStringTest, SubstringsClampOutOfRangeCounts)
{
    const CString s(u"Hello World");
    EXPECT_EQ(s.Left(5), CString(u"Hello"));
    EXPECT_EQ(s.Left(100), s);
    EXPECT_EQ(s.Left(-1), CString());
    EXPECT_EQ(s.Mid(6), CString(u"World"));
    EXPECT_EQ(s.Mid(6, 3), CString(u"Wor"));
    EXPECT_EQ(s.Mid(20), CString());
    EXPECT_EQ(s.Mid(-5, 2), CString(u"He"));
    EXPECT_EQ(s.Mid(9, 50), CString(u"ld"));
    EXPECT_EQ(s.Right(5), CString(u"World"));
    EXPECT_EQ(s.Right(50), s);
}

TEST(CStringTest, FindAndReverseFind)
{
    const CString s(u"a/b/c.mp3");
    EXPECT_EQ(s.Find(u'/'), 1);
    EXPECT_EQ(s.Find(u'/', 2), 3);
    EXPECT_EQ(s.Find(u'/', 100), -1);
    EXPECT_EQ(s.Find(CString(u"c.m")), 4);
    EXPECT_EQ(s.Find(CString(u"zz")), -1);
    EXPECT_EQ(s.ReverseFind(u'/'), 3);
    EXPECT_EQ(s.ReverseFind(u'x'), -1);
    EXPECT_EQ(s.FindOneOf(CString(u".c")), 4);
}

TEST(CStringTest, CompareNoCaseFoldsBeyondAscii)
{
    EXPECT_EQ(CString(u"Rock").CompareNoCase(CString(u"rOCK")), 0);
    EXPECT_EQ(CString(u"ÉTÉ").CompareNoCase(CString(u"été")), 0);
    EXPECT_EQ(CString(u"ΣΟΦΙΑ").CompareNoCase(CString(u"σοφια")), 0);
    EXPECT_EQ(CString(u"Straße").CompareNoCase(CString(u"STRAßE")), 0);
    EXPECT_LT(CString(u"abc").CompareNoCase(CString(u"ABD")), 0);
    EXPECT_GT(CString(u"abcd").CompareNoCase(CString(u"ABC")), 0);
    EXPECT_LT(CString(u"B").Compare(CString(u"a")), 0); // ordinal
}

TEST(CStringTest, TrimUsesTheWideSpaceTest)
{
    CString s(u" \t Song \u00A0\u3000\r\n");
    s.TrimRight();
    EXPECT_EQ(s, CString(u" \t Song"));
    s.TrimLeft();
    EXPECT_EQ(s, CString(u"Song"));
    CString z(u"xxSongxx");
    z.TrimLeft(u'x').TrimRight(u'x');
    EXPECT_EQ(z, CString(u"Song"));
    EXPECT_FALSE(IsWideSpace(u'\u200B')); // zero width space is not white space
}

TEST(CStringTest, CaseMappingAndReplace)
{
    CString s(u"Beyoncé — ǅemal");
    s.MakeUpper();
    EXPECT_EQ(s, CString(u"BEYONCÉ — ǄEMAL"));
    s.MakeLower();
    EXPECT_EQ(s, CString(u"beyoncé — ǆemal"));

    CString r(u"a.b.c");
    EXPECT_EQ(r.Replace(u'.', u'/'), 2);
    EXPECT_EQ(r, CString(u"a/b/c"));
    EXPECT_EQ(r.Replace(CString(u"/"), CString(u" - ")), 2);
    EXPECT_EQ(r, CString(u"a - b - c"));
    EXPECT_EQ(r.Replace(CString(), CString(u"x")), 0);
    EXPECT_EQ(r.Delete(1, 3), 6);
    EXPECT_EQ(r, CString(u"ab - c"));
    r.Insert(0, CString(u">"));
    EXPECT_EQ(r, CString(u">ab - c"));
    EXPECT_EQ(r.Remove(u' '), 2);
}

TEST(CStringTest, FormatTheForms)
{
    EXPECT_EQ(FormatString(u"%d items", 12), CString(u"12 items"));
    EXPECT_EQ(FormatString(u"%u", 4000000000u), CString(u"4000000000"));
    EXPECT_EQ(FormatString(u"%02d:%02d", 3, 7), CString(u"03:07"));
    EXPECT_EQ(FormatString(u"%.2f MB", 1.005 * 1000), CString(u"1005.00 MB"));
    EXPECT_EQ(FormatString(u"%.2f KB", 2.5), CString(u"2.50 KB"));
    EXPECT_EQ(FormatString(u"%s (%I64d bytes)", CString(u"1 KB"), 1024LL),
              CString(u"1 KB (1024 bytes)"));
    EXPECT_EQ(FormatString(u"%dx%d (px)", 640, 480), CString(u"640x480 (px)"));
    EXPECT_EQ(FormatString(u"%02u/%02u/%04u %02u:%02u:%02u", 1u, 2u, 2003u, 4u, 5u, 6u),
              CString(u"01/02/2003 04:05:06"));
    EXPECT_EQ(FormatString(u"%s [Rating: %d Counter: %u]", u"a@b", 255, 7u),
              CString(u"a@b [Rating: 255 Counter: 7]"));
    EXPECT_EQ(FormatString(u"%5d|%-5d|%05d", 42, 42, -42), CString(u"   42|42   |-0042"));
    EXPECT_EQ(FormatString(u"%x %X %c %%", 255, 255, u'Z'), CString(u"ff FF Z %"));
    EXPECT_EQ(FormatString(u"%d", -2147483647 - 1), CString(u"-2147483648"));
}

TEST(CStringTest, FormatNeverReadsPastItsArguments)
{
    // Too few arguments print nothing for the missing ones; a string for %d prints as text.
    EXPECT_EQ(FormatString(u"%d and %s"), CString(u" and "));
    EXPECT_EQ(FormatString(u"%d", CString(u"text")), CString(u"text"));
    EXPECT_EQ(FormatString(u"100%"), CString(u"100%"));
    EXPECT_EQ(FormatString(u"%y", 1), CString(u"%y"));
}

TEST(CStringTest, Utf8RoundTrip)
{
    const CString s(u"Ünïcödé 🎵 テスト");
    EXPECT_EQ(CString::FromUtf8(s.ToUtf8()), s);
    EXPECT_EQ(CString("plain"), CString(u"plain"));
}
