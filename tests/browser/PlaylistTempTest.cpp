#include "PlaylistFiles.h"

#include "base/Path.h"
#include "browser/Playlist.h"
#include "browser/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace PlaylistFiles;
using Fixtures::CTempDir;
using Fixtures::ReadFileBytes;
namespace fs = std::filesystem;

#ifdef _WIN32
// Windows: the system's temporary folder as it is; its access rules are the system's.

TEST(TempFolderTest, TheSystemsTemporaryFolderWithItsSeparator)
{
    CString strFolder;
    ASSERT_TRUE(GetTempFolder(strFolder));
    std::error_code ec;
    const fs::path system = fs::temp_directory_path(ec);
    ASSERT_FALSE(ec);
    EXPECT_EQ(Path::GetFullPath(strFolder), Path::GetFullPath(Fixtures::ToCString(system / "")));
    EXPECT_EQ(strFolder[strFolder.GetLength() - 1], u'\\');
}

TEST(TempFolderTest, PrivateFolderIsMadeWhenMissingAndOnlyAFolderWillDo)
{
    CTempDir dir;
    WriteText(dir.PathOf("file"), "x");
    EXPECT_FALSE(OpenPrivateFolder(dir.StrPathOf("file")));
    EXPECT_FALSE(OpenPrivateFolder(dir.StrPathOf("missing/below")));
    EXPECT_TRUE(OpenPrivateFolder(dir.StrPathOf("made")));
    EXPECT_TRUE(fs::is_directory(dir.PathOf("made")));
    EXPECT_TRUE(OpenPrivateFolder(dir.StrPathOf("made")));
}

TEST(TempPlaylistTest, PlayTargetAndItsBytes)
{
    CString strFolder;
    ASSERT_TRUE(GetTempFolder(strFolder));
    const CString strPlaylist = strFolder + u"Tagwright.m3u";
    const fs::path playlist(strPlaylist.str());

    EXPECT_TRUE(GetPlayTarget({}).IsEmpty());
    EXPECT_EQ(GetPlayTarget({u"C:\\music\\one.mp3"}), u"C:\\music\\one.mp3");
    EXPECT_EQ(GetTempPlaylistPath(), strPlaylist);
    EXPECT_EQ(GetPlayTarget({u"C:\\music\\caf\u00e9.mp3", u"C:\\music\\sub\\b.mp3"}), strPlaylist);
    EXPECT_EQ(TextOf(ReadFileBytes(playlist)),
              "#EXTM3U\r\nC:\\music\\caf\xc3\xa9.mp3\r\nC:\\music\\sub\\b.mp3\r\n");
    EXPECT_EQ(CreateTempPlaylist({u"D:\\x.mp3"}), strPlaylist);
    EXPECT_EQ(TextOf(ReadFileBytes(playlist)), "#EXTM3U\r\nD:\\x.mp3\r\n");
    DeleteTempPlaylist();
    EXPECT_FALSE(fs::exists(playlist));
    DeleteTempPlaylist();
}

#else
// Linux: the private runtime folder and its rules.

namespace
{

// Points XDG_RUNTIME_DIR at a folder for the test's length.
class CRuntimeDir
{
public:
    explicit CRuntimeDir(const std::string& strPath)
    {
        if (const char* psz = std::getenv("XDG_RUNTIME_DIR"))
            m_strOld = psz;
        ::setenv("XDG_RUNTIME_DIR", strPath.c_str(), 1);
    }
    ~CRuntimeDir()
    {
        if (m_strOld)
            ::setenv("XDG_RUNTIME_DIR", m_strOld->c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
    }
    CRuntimeDir(const CRuntimeDir&) = delete;
    CRuntimeDir& operator=(const CRuntimeDir&) = delete;

private:
    std::optional<std::string> m_strOld;
};

mode_t ModeOf(const fs::path& path)
{
    struct stat st = {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

} // namespace

TEST(TempFolderTest, CreatedPrivateInTheRuntimeFolder)
{
    CTempDir dir;
    CRuntimeDir runtime(dir.GetPath().string());
    CString strFolder;
    ASSERT_TRUE(GetTempFolder(strFolder));
    EXPECT_EQ(strFolder, dir.StrPathOf("tagwright") + u"/");
    EXPECT_EQ(ModeOf(dir.PathOf("tagwright")), 0700u);

    // An existing folder of the user that others could enter is closed again.
    ::chmod(dir.PathOf("tagwright").c_str(), 0755);
    ASSERT_TRUE(GetTempFolder(strFolder));
    EXPECT_EQ(ModeOf(dir.PathOf("tagwright")), 0700u);
}

TEST(TempFolderTest, FallsBackToTmpWithoutAUsableRuntimeFolder)
{
    CTempDir dir;
    const CString strExpected =
        FormatString(u"/tmp/tagwright-%u/", static_cast<unsigned>(::geteuid()));
    for (const std::string& strRuntime : {dir.PathOf("missing").string(), std::string("relative")})
    {
        CRuntimeDir runtime(strRuntime);
        CString strFolder;
        ASSERT_TRUE(GetTempFolder(strFolder));
        EXPECT_EQ(strFolder, strExpected);
    }
}

TEST(TempFolderTest, RefusesALinkAFileAndAnotherUsersFolder)
{
    CTempDir dir;
    fs::create_directory(dir.PathOf("target"));
    fs::create_directory_symlink(dir.PathOf("target"), dir.PathOf("link"));
    WriteText(dir.PathOf("file"), "x");
    EXPECT_FALSE(OpenPrivateFolder(dir.StrPathOf("link")));
    EXPECT_FALSE(OpenPrivateFolder(dir.StrPathOf("file")));
    EXPECT_FALSE(OpenPrivateFolder(dir.StrPathOf("missing/below")));
    EXPECT_FALSE(OpenPrivateFolder(CString()));
    EXPECT_TRUE(OpenPrivateFolder(dir.StrPathOf("target")));

    // The same through the runtime folder.
    CRuntimeDir runtime(dir.GetPath().string());
    fs::create_directory_symlink(dir.PathOf("target"), dir.PathOf("tagwright"));
    CString strFolder;
    EXPECT_FALSE(GetTempFolder(strFolder));
    EXPECT_TRUE(strFolder.IsEmpty());
    EXPECT_TRUE(GetTempPlaylistPath().IsEmpty());
    EXPECT_TRUE(GetPlayTarget({u"/a.mp3", u"/b.mp3"}).IsEmpty());
}

TEST(TempFolderTest, RefusesAFolderOwnedByAnotherUser)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "handing a folder to another user needs root";
    CTempDir dir;
    fs::create_directory(dir.PathOf("tagwright"));
    ASSERT_EQ(::chmod(dir.PathOf("tagwright").c_str(), 0700), 0);
    ASSERT_EQ(::chown(dir.PathOf("tagwright").c_str(), 65534, 65534), 0);
    EXPECT_FALSE(OpenPrivateFolder(dir.StrPathOf("tagwright")));
    CRuntimeDir runtime(dir.GetPath().string());
    CString strFolder;
    EXPECT_FALSE(GetTempFolder(strFolder));

    // A runtime folder of another user is not used at all.
    fs::create_directory(dir.PathOf("foreign"));
    ASSERT_EQ(::chown(dir.PathOf("foreign").c_str(), 65534, 65534), 0);
    CRuntimeDir foreign(dir.PathOf("foreign").string());
    ASSERT_TRUE(GetTempFolder(strFolder));
    EXPECT_EQ(strFolder, FormatString(u"/tmp/tagwright-%u/", static_cast<unsigned>(::geteuid())));
}

TEST(TempPlaylistTest, PlayTargetAndItsBytes)
{
    CTempDir dir;
    CRuntimeDir runtime(dir.GetPath().string());
    const CString strPlaylist = dir.StrPathOf("tagwright/Tagwright.m3u");

    EXPECT_TRUE(GetPlayTarget({}).IsEmpty());
    EXPECT_EQ(GetPlayTarget({u"/music/one.mp3"}), u"/music/one.mp3");
    EXPECT_FALSE(fs::exists(dir.PathOf("tagwright/Tagwright.m3u")));

    EXPECT_EQ(GetTempPlaylistPath(), strPlaylist);
    EXPECT_EQ(GetPlayTarget({u"/music/caf\u00e9.mp3", u"/music/sub/b.mp3"}), strPlaylist);
    // UTF-8 although the extension is ".m3u", and no #EXTINF lines.
    EXPECT_EQ(TextOf(ReadFileBytes(dir.PathOf("tagwright/Tagwright.m3u"))),
              "#EXTM3U\r\n/music/caf\xc3\xa9.mp3\r\n/music/sub/b.mp3\r\n");

    // Written again, it is truncated.
    EXPECT_EQ(CreateTempPlaylist({u"/x.mp3"}), strPlaylist);
    EXPECT_EQ(TextOf(ReadFileBytes(dir.PathOf("tagwright/Tagwright.m3u"))),
              "#EXTM3U\r\n/x.mp3\r\n");

    DeleteTempPlaylist();
    EXPECT_FALSE(fs::exists(dir.PathOf("tagwright/Tagwright.m3u")));
    DeleteTempPlaylist(); // nothing left: nothing happens
}

TEST(TempPlaylistTest, AnOldPlaylistIsNotPlayedWhenItCannotBeRewritten)
{
    CTempDir dir;
    CRuntimeDir runtime(dir.GetPath().string());
    // A folder in the playlist's place cannot be replaced by a file.
    fs::create_directories(dir.PathOf("tagwright/Tagwright.m3u"));
    EXPECT_TRUE(GetPlayTarget({u"/a.mp3", u"/b.mp3"}).IsEmpty());
}
#endif
