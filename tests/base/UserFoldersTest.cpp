#include "base/UserFolders.h"

#include "base/Path.h"

#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#ifndef _WIN32

namespace
{

namespace fs = std::filesystem;

// Sets an environment variable for the test's duration and puts the old value back.
class CScopedEnv
{
public:
    CScopedEnv(const char* pszName, const char* pszValue) : m_strName(pszName)
    {
        if (const char* pszOld = std::getenv(pszName))
            m_old = pszOld;
        Set(pszValue);
    }
    ~CScopedEnv()
    {
        if (m_old)
            ::setenv(m_strName.c_str(), m_old->c_str(), 1);
        else
            ::unsetenv(m_strName.c_str());
    }
    CScopedEnv(const CScopedEnv&) = delete;
    CScopedEnv& operator=(const CScopedEnv&) = delete;

    void Set(const char* pszValue)
    {
        if (pszValue)
            ::setenv(m_strName.c_str(), pszValue, 1);
        else
            ::unsetenv(m_strName.c_str());
    }

private:
    std::string m_strName;
    std::optional<std::string> m_old;
};

// HOME is a fresh temporary folder; XDG_CONFIG_HOME its "cfg" folder.
class UserFoldersTest : public ::testing::Test
{
protected:
    UserFoldersTest()
        : m_home("HOME", Home().c_str()), m_config("XDG_CONFIG_HOME", Config().c_str())
    {
        fs::create_directory(Config());
    }

    std::string Home() const { return m_dir.GetPath().string(); }
    std::string Config() const { return Home() + "/cfg"; }
    void MakeFolder(const std::string& strName) const
    {
        fs::create_directories(Home() + "/" + strName);
    }
    void WriteUserDirs(const std::string& strText,
                       const std::string& strConfig = std::string()) const
    {
        std::ofstream((strConfig.empty() ? Config() : strConfig) + "/user-dirs.dirs",
                      std::ios::binary)
            << strText;
    }
    std::string Music() const { return Path::ToNative(UserFolders::GetMusicFolder()); }

    Fixtures::CTempDir m_dir;
    CScopedEnv m_home;
    CScopedEnv m_config;
};

} // namespace

TEST_F(UserFoldersTest, XdgMusicFolderRelativeToHome)
{
    MakeFolder("Tunes");
    MakeFolder("Music");
    WriteUserDirs("# written by xdg-user-dirs-update\n"
                  "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                  "XDG_MUSIC_DIR=\"$HOME/Tunes\"\n"
                  "XDG_VIDEOS_DIR=\"$HOME/Videos\"\n");
    EXPECT_EQ(Music(), Home() + "/Tunes");
}

TEST_F(UserFoldersTest, XdgMusicFolderAbsoluteWithShellEscapes)
{
    MakeFolder("my \"music\" $x\\y");
    WriteUserDirs("  XDG_MUSIC_DIR = \"" + Home() + "/my \\\"music\\\" \\$x\\\\y/\"  # note\r\n");
    EXPECT_EQ(Music(), Home() + "/my \"music\" $x\\y");
}

TEST_F(UserFoldersTest, LaterLineWins)
{
    MakeFolder("A");
    MakeFolder("B");
    WriteUserDirs("XDG_MUSIC_DIR=\"$HOME/A\"\nXDG_MUSIC_DIR=\"$HOME/B\"\n");
    EXPECT_EQ(Music(), Home() + "/B");
}

TEST_F(UserFoldersTest, DisabledEntryMeansHome)
{
    WriteUserDirs("XDG_MUSIC_DIR=\"$HOME/\"\n");
    EXPECT_EQ(Music(), Home());
}

TEST_F(UserFoldersTest, InvalidEntriesAreIgnored)
{
    MakeFolder("Music");
    MakeFolder("Tunes");
    for (const char* pszLine :
         {"XDG_MUSIC_DIR=Tunes", "XDG_MUSIC_DIR=\"Tunes\"", "XDG_MUSIC_DIR=\"$HOMEX/Tunes\"",
          "XDG_MUSIC_DIR=\"$HOME/Tunes", "#XDG_MUSIC_DIR=\"$HOME/Tunes\"",
          "XDG_MUSIC_DIRS=\"$HOME/Tunes\"", "XDG_MUSIC_DIR:\"$HOME/Tunes\""})
    {
        WriteUserDirs(std::string(pszLine) + "\n");
        EXPECT_EQ(Music(), Home() + "/Music") << pszLine;
    }
}

TEST_F(UserFoldersTest, MissingXdgFolderFallsBackToMusic)
{
    WriteUserDirs("XDG_MUSIC_DIR=\"$HOME/Gone\"\n");
    MakeFolder("Music");
    EXPECT_EQ(Music(), Home() + "/Music");
    fs::remove(Home() + "/Music");
    EXPECT_TRUE(UserFolders::GetMusicFolder().IsEmpty());
}

TEST_F(UserFoldersTest, WithoutUserDirsFileTheMusicFolderOfHome)
{
    EXPECT_TRUE(UserFolders::GetMusicFolder().IsEmpty()); // not created
    EXPECT_FALSE(fs::exists(Home() + "/Music"));
    MakeFolder("Music");
    EXPECT_EQ(Music(), Home() + "/Music");
    // A file of that name is no folder.
    fs::remove(Home() + "/Music");
    std::ofstream(Home() + "/Music") << "x";
    EXPECT_TRUE(UserFolders::GetMusicFolder().IsEmpty());
}

TEST_F(UserFoldersTest, ConfigFolderDefaultsToDotConfig)
{
    MakeFolder(".config");
    MakeFolder("Songs");
    WriteUserDirs("XDG_MUSIC_DIR=\"$HOME/Songs\"\n", Home() + "/.config");
    m_config.Set(nullptr);
    EXPECT_EQ(Music(), Home() + "/Songs");
    m_config.Set("");
    EXPECT_EQ(Music(), Home() + "/Songs");
    // A relative XDG_CONFIG_HOME is not valid.
    m_config.Set("cfg");
    EXPECT_EQ(Music(), Home() + "/Songs");
}

TEST_F(UserFoldersTest, NamesThatAreNotUtf8SurviveWhole)
{
    const std::string strName = "M\xFCsik \xFF";
    MakeFolder(strName);
    WriteUserDirs("XDG_MUSIC_DIR=\"$HOME/" + strName + "\"\n");
    const CString strFolder = UserFolders::GetMusicFolder();
    EXPECT_EQ(Path::ToNative(strFolder), Home() + "/" + strName);
}

#endif
