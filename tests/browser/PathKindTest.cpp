#include "browser/PathKind.h"

#include "base/Path.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <unistd.h>
#endif

using Fixtures::CTempDir;

TEST(PathKindTest, ExtensionsIgnoreCase)
{
    EXPECT_EQ(GetPathKind(u"/nowhere/song.mp3"), PATH_AUDIO);
    EXPECT_EQ(GetPathKind(u"/nowhere/song.MP3"), PATH_AUDIO);
    EXPECT_EQ(GetPathKind(u"/nowhere/song.Mp2"), PATH_AUDIO);
    EXPECT_EQ(GetPathKind(u"/nowhere/song.mP1"), PATH_AUDIO);
    EXPECT_EQ(GetPathKind(u"/nowhere/list.m3u"), PATH_M3U);
    EXPECT_EQ(GetPathKind(u"/nowhere/list.M3U8"), PATH_M3U8);
    EXPECT_EQ(GetPathKind(u"/nowhere/files.LST"), PATH_LST);
    EXPECT_EQ(GetPathKind(u"relative.mp3"), PATH_AUDIO);
    EXPECT_EQ(GetPathKind(u".mp3"), PATH_AUDIO);
}

TEST(PathKindTest, AnythingElseIsOther)
{
    EXPECT_EQ(GetPathKind(u""), PATH_OTHER);
    EXPECT_EQ(GetPathKind(u"/nowhere/song.mp4"), PATH_OTHER);
    EXPECT_EQ(GetPathKind(u"/nowhere/noextension"), PATH_OTHER);
    EXPECT_EQ(GetPathKind(u"/nowhere/song.mp3 "), PATH_OTHER);
    EXPECT_EQ(GetPathKind(u"/nowhere/song.mp3.bak"), PATH_OTHER);
    EXPECT_EQ(GetPathKind(u"/nowhere/song."), PATH_OTHER);
    EXPECT_EQ(GetPathKind(u"/nowhere/list.m3u9"), PATH_OTHER);
    // The extension runs from the last dot of the whole path: a dot in a folder name and none
    // in the file name give no known extension.
    EXPECT_EQ(GetPathKind(u"/nowhere/album.mp3/track"), PATH_OTHER);
    // Full-width letters are other letters, not a case form of these.
    EXPECT_EQ(GetPathKind(u"/nowhere/song.\uFF4D\uFF50\u0033"), PATH_OTHER);
}

TEST(PathKindTest, FoldersByTrailingSeparatorOrOnDisk)
{
    CTempDir dir;
    EXPECT_EQ(GetPathKind(u"/nowhere/at/all/"), PATH_FOLDER);
    EXPECT_EQ(GetPathKind(u"/nowhere/at/all.mp3/"), PATH_FOLDER);
    EXPECT_EQ(GetPathKind(dir.StrPath()), PATH_FOLDER);

    ASSERT_TRUE(std::filesystem::create_directory(dir.PathOf("album.mp3")));
    EXPECT_EQ(GetPathKind(dir.StrPathOf("album.mp3")), PATH_FOLDER);
    EXPECT_EQ(GetPathKindByExtension(dir.StrPathOf("album.mp3")), PATH_AUDIO);

#ifndef _WIN32
    // A link to a folder is a folder (links of this kind are Linux's).
    ASSERT_EQ(::symlink(dir.PathOf("album.mp3").c_str(), dir.PathOf("link.m3u").c_str()), 0);
    EXPECT_EQ(GetPathKind(dir.StrPathOf("link.m3u")), PATH_FOLDER);
#endif
    // A missing path is classified by its extension alone.
    EXPECT_EQ(GetPathKind(dir.StrPathOf("missing.m3u")), PATH_M3U);
}

TEST(PathKindTest, APathBeyondTheLimitIsCutFirst)
{
    const int nMax = Path::GetMaxPath();
    // The cut leaves the dot and drops "mp3".
    const CString strLong = CString(u'a', nMax - 2) + u".mp3";
    EXPECT_EQ(GetPathKind(strLong), PATH_OTHER);
    EXPECT_EQ(GetPathKind(CString(u'a', nMax - 6) + u".mp3"), PATH_AUDIO);
}
