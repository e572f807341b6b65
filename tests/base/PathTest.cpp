#include "base/Path.h"

#include "base/File.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace
{

#ifndef _WIN32
// Linux's rules: "/" only, byte names held without loss, symbolic links kept as spelled.

TEST(PathTest, FullPathIsAbsoluteAndNormalised)
{
    EXPECT_EQ(Path::GetFullPath(u"/a/./b//c/../d"), CString(u"/a/b/d"));
    EXPECT_EQ(Path::GetFullPath(u"//a///b"), CString(u"/a/b"));
    EXPECT_EQ(Path::GetFullPath(u"/.."), CString(u"/"));
    EXPECT_EQ(Path::GetFullPath(u"/../../a"), CString(u"/a"));
    EXPECT_EQ(Path::GetFullPath(u"/a/b/.."), CString(u"/a"));
    EXPECT_EQ(Path::GetFullPath(u"/a/b/."), CString(u"/a/b"));
    EXPECT_EQ(Path::GetFullPath(u"/a/b/"), CString(u"/a/b/"));
    EXPECT_EQ(Path::GetFullPath(u"/"), CString(u"/"));
    EXPECT_EQ(Path::GetFullPath(u"/a/...b/..c"), CString(u"/a/...b/..c"));
    EXPECT_EQ(Path::GetFullPath(CString()), CString());

    EXPECT_EQ(Path::GetFullPath(u"x/../y.mp3", u"/base/dir"), CString(u"/base/dir/y.mp3"));
    EXPECT_EQ(Path::GetFullPath(u"../../../y", u"/base/dir"), CString(u"/y"));
    EXPECT_EQ(Path::GetFullPath(u"/abs", u"/base"), CString(u"/abs"));

    const CString strCwd = Path::GetCurrentDirectory();
    ASSERT_TRUE(Path::IsAbsolute(strCwd));
    EXPECT_EQ(Path::GetFullPath(u"./song.mp3"), Path::GetFullPath(strCwd + u"/song.mp3"));
}

TEST(PathTest, SymbolicLinksAreNotResolved)
{
    Fixtures::CTempDir dir;
    ASSERT_EQ(0, ::symlink("/usr", (dir.GetPath() / "link").c_str()));
    // Lexically "link/.." is the folder itself, wherever the link points.
    EXPECT_EQ(Path::GetFullPath(dir.StrPath() + u"/link/../f"), dir.StrPath() + u"/f");
    EXPECT_EQ(Path::GetFullPath(dir.StrPath() + u"/link/f"), dir.StrPath() + u"/link/f");
}

TEST(PathTest, FolderAndName)
{
    EXPECT_EQ(Path::GetFolder(u"/a/b.mp3"), CString(u"/a"));
    EXPECT_EQ(Path::GetFolder(u"/a/b/c.mp3"), CString(u"/a/b"));
    EXPECT_EQ(Path::GetFolder(u"b.mp3"), CString());
    EXPECT_EQ(Path::GetFolder(u"/b.mp3"), CString());
    EXPECT_EQ(Path::GetName(u"/a/b.mp3"), CString(u"b.mp3"));
    EXPECT_EQ(Path::GetName(u"b.mp3"), CString(u"b.mp3"));
    EXPECT_EQ(Path::GetName(u"/a/"), CString());
    EXPECT_EQ(Path::chSeparator, u'/');
    EXPECT_TRUE(Path::IsSeparator(u'/'));
    EXPECT_FALSE(Path::IsSeparator(u'\\'));
    EXPECT_FALSE(Path::IsAbsolute(u"a/b"));
    EXPECT_EQ(Path::GetMaxPath(), 4096);
}

TEST(PathTest, ValidUtf8ConvertsBothWays)
{
    const std::string utf8 = "/m\xC3\xBCsic/\xE2\x82\xAC \xF0\x9F\x8E\xB5.mp3"; // ü, €, U+1F3B5
    const CString str = Path::FromNative(utf8);
    EXPECT_EQ(str, CString(u"/m\u00FCsic/\u20AC \U0001F3B5.mp3"));
    EXPECT_EQ(Path::ToNative(str), utf8);
}

TEST(PathTest, InvalidBytesAreHeldAsLoneSurrogates)
{
    EXPECT_EQ(Path::FromNative(std::string("\xFF")), CString(u"\xDCFF"));
    EXPECT_EQ(Path::FromNative(std::string("a\xC3")), CString(u"a\xDCC3"));         // cut sequence
    EXPECT_EQ(Path::FromNative(std::string("\xC0\xAF")), CString(u"\xDCC0\xDCAF")); // overlong
    // An encoded surrogate and a code point above U+10FFFF are not UTF-8 either.
    EXPECT_EQ(Path::FromNative(std::string("\xED\xA0\x80")), CString(u"\xDCED\xDCA0\xDC80"));
    EXPECT_EQ(Path::FromNative(std::string("\xF4\x90\x80\x80")).GetLength(), 4);
    EXPECT_EQ(Path::ToNative(CString(u"x\xDC80y\xDCFF")), std::string("x\x80y\xFF"));
    // Lone surrogates that no byte name produces become U+FFFD.
    EXPECT_EQ(Path::ToNative(CString(u"\xD800")), std::string("\xEF\xBF\xBD"));
    EXPECT_EQ(Path::ToNative(CString(u"\xDC10")), std::string("\xEF\xBF\xBD"));
}

TEST(PathTest, EveryByteNameRoundTrips)
{
    for (int b = 1; b < 256; ++b)
    {
        const std::string s(1, static_cast<char>(b));
        EXPECT_EQ(Path::ToNative(Path::FromNative(s)), s) << "byte " << b;
    }
    // Random byte strings, with many near-valid sequences.
    std::uint32_t x = 12345;
    for (int n = 0; n < 2000; ++n)
    {
        std::string s;
        const int nLen = 1 + static_cast<int>(x % 12);
        for (int i = 0; i < nLen; ++i)
        {
            x = x * 1664525u + 1013904223u;
            const BYTE pick[] = {0x80, 0xBF, 0xC2, 0xE0, 0xED, 0xF0, 0xF4, 0xFF, 'a', 0xA0};
            s += static_cast<char>((x >> 28) < 10 ? pick[x >> 28] : (x >> 16) & 0xFF);
        }
        if (s.find('\0') != std::string::npos)
            continue;
        ASSERT_EQ(Path::ToNative(Path::FromNative(s)), s);
    }
}

TEST(PathTest, FileWithAnInvalidUtf8NameOpensByItsName)
{
    Fixtures::CTempDir dir;
    const std::string strName = "\xFF\xFE song \xC3.mp3";
    const std::string strNative = dir.GetPath().native() + "/" + strName;
    const int fd = ::open(strNative.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "data", 4), 4);
    ::close(fd);

    // The name as the folder listing gives it.
    DIR* pDir = ::opendir(dir.GetPath().c_str());
    ASSERT_NE(pDir, nullptr);
    CString strListed;
    while (const dirent* pEntry = ::readdir(pDir))
    {
        if (pEntry->d_name[0] != '.')
            strListed = Path::FromNative(std::string_view(pEntry->d_name));
    }
    ::closedir(pDir);

    CFile file;
    ASSERT_TRUE(
        file.Open(Path::FromNative(dir.GetPath().native()) + u"/" + strListed, CFile::modeRead));
    EXPECT_EQ(file.GetLength(), 4u);
    EXPECT_EQ(Path::ToNative(file.GetFileName()), strName);
}

#else
// Windows's rules: drive letters and shares, both separators, names in UTF-16 as they are.

TEST(PathTest, FullPathIsAbsoluteAndNormalised)
{
    EXPECT_EQ(Path::GetFullPath(u"C:\\a\\.\\b\\\\c\\..\\d"), CString(u"C:\\a\\b\\d"));
    EXPECT_EQ(Path::GetFullPath(u"C:/a/b/../c"), CString(u"C:\\a\\c"));
    EXPECT_EQ(Path::GetFullPath(u"C:\\.."), CString(u"C:\\"));
    EXPECT_EQ(Path::GetFullPath(u"C:\\a\\b\\"), CString(u"C:\\a\\b\\"));
    EXPECT_EQ(Path::GetFullPath(u"\\\\server\\share\\x\\..\\y.mp3"),
              CString(u"\\\\server\\share\\y.mp3"));
    EXPECT_EQ(Path::GetFullPath(CString()), CString());

    EXPECT_EQ(Path::GetFullPath(u"x\\..\\y.mp3", u"D:\\base\\dir"),
              CString(u"D:\\base\\dir\\y.mp3"));
    EXPECT_EQ(Path::GetFullPath(u"..\\..\\..\\y", u"D:\\base\\dir"), CString(u"D:\\y"));
    EXPECT_EQ(Path::GetFullPath(u"E:\\abs", u"D:\\base"), CString(u"E:\\abs"));
    // A path from the root stays on the base's drive or share.
    EXPECT_EQ(Path::GetFullPath(u"\\top\\..\\a.mp3", u"D:\\base\\dir"), CString(u"D:\\a.mp3"));
    EXPECT_EQ(Path::GetFullPath(u"/a.mp3", u"\\\\srv\\share\\dir"),
              CString(u"\\\\srv\\share\\a.mp3"));

    const CString strCwd = Path::GetCurrentDirectory();
    ASSERT_TRUE(Path::IsAbsolute(strCwd));
    EXPECT_EQ(Path::GetFullPath(u".\\song.mp3"), Path::GetFullPath(strCwd + u"\\song.mp3"));
}

TEST(PathTest, FolderAndName)
{
    EXPECT_EQ(Path::GetFolder(u"C:\\a\\b.mp3"), CString(u"C:\\a"));
    EXPECT_EQ(Path::GetFolder(u"C:\\a/b\\c.mp3"), CString(u"C:\\a/b"));
    EXPECT_EQ(Path::GetFolder(u"b.mp3"), CString());
    EXPECT_EQ(Path::GetFolder(u"\\b.mp3"), CString());
    EXPECT_EQ(Path::GetName(u"C:\\a\\b.mp3"), CString(u"b.mp3"));
    EXPECT_EQ(Path::GetName(u"C:\\a/b.mp3"), CString(u"b.mp3"));
    EXPECT_EQ(Path::chSeparator, u'\\');
    EXPECT_TRUE(Path::IsSeparator(u'/'));
    EXPECT_TRUE(Path::IsSeparator(u'\\'));
    EXPECT_TRUE(Path::IsAbsolute(u"C:\\x"));
    EXPECT_TRUE(Path::IsAbsolute(u"\\\\server\\share"));
    EXPECT_FALSE(Path::IsAbsolute(u"C:x"));
    EXPECT_FALSE(Path::IsAbsolute(u"a\\b"));
    EXPECT_EQ(Path::GetMaxPath(), 260);
}

TEST(PathTest, NamesPassUnchanged)
{
    const CString str = CString(u"C:\\m\u00FCsic\\\u20AC \U0001F3B5.mp3") + CString(u'\xD800');
    EXPECT_EQ(Path::FromNative(Path::ToNative(str)), str);
    EXPECT_EQ(Path::ToNative(u"C:\\\u0416.mp3"), std::wstring(L"C:\\\u0416.mp3"));
}

TEST(PathTest, FileWithANameOutsideTheAnsiCodePageOpensByItsName)
{
    Fixtures::CTempDir dir;
    const CString strPath = dir.StrPath() + u"\\\u0416\u4E2D \U0001F3B5.mp3";
    {
        CFile file;
        ASSERT_TRUE(file.Open(strPath, CFile::modeCreate | CFile::modeWrite));
        file.Write("data", 4);
    }
    CFile file;
    ASSERT_TRUE(file.Open(strPath, CFile::modeRead));
    EXPECT_EQ(file.GetLength(), 4u);
    EXPECT_EQ(file.GetFileName(), CString(u"\u0416\u4E2D \U0001F3B5.mp3"));
}
#endif

} // namespace
