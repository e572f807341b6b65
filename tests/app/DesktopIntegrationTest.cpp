// The desktop integration on a real file system: the entries it writes and removes, what it
// leaves alone, and whether each entry's command, started as the file managers start it, hands
// two awkward paths to the program as one "|"-joined argument.
#ifndef _WIN32

#include "app/DesktopIntegration.h"
#include "app/DesktopEntries.h"

#include "FileManagerLaunch.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;
using Launch::Args;

namespace
{

class CScopedEnv
{
public:
    CScopedEnv(const char* pszName, const std::optional<std::string>& value) : m_strName(pszName)
    {
        if (const char* pszOld = std::getenv(pszName))
            m_old = pszOld;
        if (value)
            ::setenv(pszName, value->c_str(), 1);
        else
            ::unsetenv(pszName);
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

private:
    std::string m_strName;
    std::optional<std::string> m_old;
};

void WriteFile(const std::string& strPath, const std::string& strText)
{
    fs::create_directories(fs::path(strPath).parent_path());
    std::ofstream(strPath, std::ios::binary | std::ios::trunc) << strText;
}

unsigned ModeOf(const std::string& strPath)
{
    struct stat st = {};
    return ::stat(strPath.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

std::vector<std::string> FilesBelow(const fs::path& root)
{
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
    {
        if (!entry.is_directory())
            files.push_back(fs::relative(entry.path(), root).string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A home, data and settings folder of the test's own; the data folder's name has a space.
class DesktopIntegrationTest : public ::testing::Test
{
protected:
    DesktopIntegrationTest()
        : m_home("HOME", m_dir.PathOf("home").string()),
          m_data("XDG_DATA_HOME", m_dir.PathOf("data home").string()),
          m_config("XDG_CONFIG_HOME", m_dir.PathOf("config").string()),
          m_integration(m_dir.PathOf("data home").string())
    {
        fs::create_directories(m_dir.PathOf("home"));
    }

    std::string DataHome() const { return m_dir.PathOf("data home").string(); }
    std::string SettingsFile() const
    {
        return m_dir.PathOf("config").string() + "/Corvell/Tagwright/2.5.conf";
    }
    std::vector<std::string> AllEntries() const
    {
        return {m_integration.GetDesktopEntryPath(), m_integration.GetServiceMenuPath(),
                m_integration.GetNautilusScriptPath(), m_integration.GetNemoActionPath()};
    }

    Fixtures::CTempDir m_dir;
    CScopedEnv m_home;
    CScopedEnv m_data;
    CScopedEnv m_config;
    CDesktopIntegration m_integration;
};

TEST_F(DesktopIntegrationTest, InstallWritesTheFourEntriesAndNothingElse)
{
    ASSERT_TRUE(m_integration.Install("/opt/tagwright/Tagwright"));
    EXPECT_EQ(FilesBelow(m_dir.GetPath()),
              (std::vector<std::string>{
                  "data home/applications/com.corvell.Tagwright.desktop",
                  "data home/kio/servicemenus/com.corvell.Tagwright.desktop",
                  "data home/nautilus/scripts/Tagwright",
                  "data home/nemo/actions/com.corvell.Tagwright.nemo_action",
              }));
    // Dolphin and Nautilus run only what may be executed.
    EXPECT_EQ(ModeOf(m_integration.GetDesktopEntryPath()), 0644u);
    EXPECT_EQ(ModeOf(m_integration.GetServiceMenuPath()), 0755u);
    EXPECT_EQ(ModeOf(m_integration.GetNautilusScriptPath()), 0755u);
    EXPECT_EQ(ModeOf(m_integration.GetNemoActionPath()), 0644u);
    // The folders made are the user's alone.
    EXPECT_EQ(ModeOf(DataHome() + "/nautilus"), 0700u);

    const std::string strDesktop = Launch::ReadText(m_integration.GetDesktopEntryPath());
    const std::string strTypes = "audio/mpeg;audio/mp2;audio/x-mpegurl;audio/mpegurl;"
                                 "application/vnd.apple.mpegurl;inode/directory;";
    EXPECT_EQ(Launch::RawValue(strDesktop, "Desktop Entry", "Type"), "Application");
    EXPECT_EQ(Launch::RawValue(strDesktop, "Desktop Entry", "MimeType"), strTypes);
    EXPECT_EQ(Launch::RawValue(strDesktop, "Desktop Entry", "TryExec"), "/opt/tagwright/Tagwright");

    const std::string strService = Launch::ReadText(m_integration.GetServiceMenuPath());
    EXPECT_EQ(Launch::RawValue(strService, "Desktop Entry", "X-KDE-ServiceTypes"),
              "KonqPopupMenu/Plugin");
    EXPECT_EQ(Launch::RawValue(strService, "Desktop Entry", "MimeType"), strTypes);
    EXPECT_EQ(Launch::RawValue(strService, "Desktop Entry", "Actions"), "openwithtagwright;");
    EXPECT_TRUE(Launch::RawValue(strService, "Desktop Action openwithtagwright", "Exec"));

    const std::string strNemo = Launch::ReadText(m_integration.GetNemoActionPath());
    EXPECT_EQ(Launch::RawValue(strNemo, "Nemo Action", "Extensions"), "mp3;mp2;mp1;m3u;m3u8;dir;");
    EXPECT_EQ(Launch::RawValue(strNemo, "Nemo Action", "Selection"), "notnone");
    EXPECT_EQ(Launch::RawValue(strNemo, "Nemo Action", "Quote"), "double");
    EXPECT_EQ(Launch::RawValue(strNemo, "Nemo Action", "Comment"),
              "Open selected files with Tagwright");

    EXPECT_TRUE(Launch::ReadText(m_integration.GetNautilusScriptPath()).starts_with("#!/bin/sh\n"));
}

TEST_F(DesktopIntegrationTest, TheEntriesShowTheInstalledIconWhenThereIsOne)
{
    ASSERT_TRUE(m_integration.Install("/opt/tagwright/Tagwright"));
    EXPECT_EQ(Launch::RawValue(Launch::ReadText(m_integration.GetDesktopEntryPath()),
                               "Desktop Entry", "Icon"),
              "audio-x-generic");

    // A prefix: bin/ beside share/icons/.
    const std::string strIcon =
        m_dir.PathOf("prefix/share/icons/hicolor/scalable/apps/com.corvell.Tagwright.svg").string();
    WriteFile(strIcon, "<svg/>");
    ASSERT_TRUE(m_integration.Install(m_dir.PathOf("prefix/bin/tagwright").string()));
    EXPECT_EQ(Launch::RawValue(Launch::ReadText(m_integration.GetDesktopEntryPath()),
                               "Desktop Entry", "Icon"),
              strIcon);
    EXPECT_EQ(Launch::RawValue(Launch::ReadText(m_integration.GetServiceMenuPath()),
                               "Desktop Action openwithtagwright", "Icon"),
              strIcon);
    EXPECT_EQ(Launch::RawValue(Launch::ReadText(m_integration.GetNemoActionPath()), "Nemo Action",
                               "Icon-Name"),
              strIcon);
}

// An earlier version wrote its entries under other names; users have them on disk.
TEST_F(DesktopIntegrationTest, TheSwitchesRemoveTheEntriesOfTheOldNames)
{
    const std::string strMarked = std::string(DesktopEntries::MARKER) + "\n[Desktop Entry]\n";
    const std::string strOldDesktop = DataHome() + "/applications/Corvell.Tagwright.desktop";
    const std::string strOldService = DataHome() + "/kio/servicemenus/Corvell.Tagwright.desktop";
    const std::string strOldNemo = DataHome() + "/nemo/actions/Corvell.Tagwright.nemo_action";
    const auto writeOld = [&]
    {
        for (const std::string& strPath : {strOldDesktop, strOldService, strOldNemo})
            WriteFile(strPath, strMarked);
    };

    writeOld();
    ASSERT_TRUE(m_integration.Install("/opt/tagwright/Tagwright"));
    EXPECT_EQ(FilesBelow(DataHome()).size(), 4u);
    EXPECT_FALSE(fs::exists(strOldDesktop));

    writeOld();
    ASSERT_TRUE(m_integration.RemoveContextMenus());
    EXPECT_EQ(FilesBelow(DataHome()),
              (std::vector<std::string>{"applications/Corvell.Tagwright.desktop",
                                        "applications/com.corvell.Tagwright.desktop"}));

    writeOld();
    ASSERT_TRUE(m_integration.Uninstall(std::string()));
    EXPECT_EQ(FilesBelow(DataHome()), std::vector<std::string>());

    // Under the old names too, a file without the marker is the user's.
    WriteFile(strOldService, "[Desktop Entry]\n");
    ASSERT_TRUE(m_integration.Install("/opt/tagwright/Tagwright"));
    ASSERT_TRUE(m_integration.Uninstall(std::string()));
    EXPECT_EQ(FilesBelow(DataHome()),
              std::vector<std::string>{"kio/servicemenus/Corvell.Tagwright.desktop"});
}

TEST_F(DesktopIntegrationTest, InstallAgainReplacesOurEntries)
{
    ASSERT_TRUE(m_integration.Install("/old/Tagwright"));
    ASSERT_TRUE(m_integration.Install("/new/Tagwright"));
    for (const std::string& strPath : AllEntries())
    {
        const std::string strText = Launch::ReadText(strPath);
        EXPECT_EQ(strText.find("/old/"), std::string::npos) << strPath;
        EXPECT_NE(strText.find("new"), std::string::npos) << strPath;
    }
    EXPECT_EQ(FilesBelow(m_dir.GetPath()).size(), 4u);
}

TEST_F(DesktopIntegrationTest, DisableKeepsTheDesktopEntryAndUninstallRemovesAll)
{
    ASSERT_TRUE(m_integration.Install("/opt/tagwright/Tagwright"));
    ASSERT_TRUE(m_integration.RemoveContextMenus());
    EXPECT_EQ(FilesBelow(m_dir.GetPath()),
              (std::vector<std::string>{"data home/applications/com.corvell.Tagwright.desktop"}));
    // Nothing left to remove is no failure.
    EXPECT_TRUE(m_integration.RemoveContextMenus());

    ASSERT_TRUE(m_integration.Install("/opt/tagwright/Tagwright"));
    WriteFile(SettingsFile(), "[Settings]\nWriteID3v1=1\n");
    ASSERT_TRUE(m_integration.Uninstall(SettingsFile()));
    EXPECT_EQ(FilesBelow(m_dir.GetPath()), std::vector<std::string>());
    // The program's settings folders went with the file; the user's folder stays.
    EXPECT_FALSE(fs::exists(m_dir.PathOf("config/Corvell")));
    EXPECT_TRUE(fs::is_directory(m_dir.PathOf("config")));
    EXPECT_TRUE(m_integration.Uninstall(SettingsFile()));
}

TEST_F(DesktopIntegrationTest, UninstallKeepsWhatElseIsInTheSettingsFolders)
{
    WriteFile(SettingsFile(), "[Settings]\n");
    WriteFile(m_dir.PathOf("config/Corvell/Tagwright/notes.txt").string(), "mine");
    WriteFile(m_dir.PathOf("config/Corvell/Other/1.0.conf").string(), "other");
    ASSERT_TRUE(m_integration.Uninstall(SettingsFile()));
    EXPECT_EQ(FilesBelow(m_dir.PathOf("config")),
              (std::vector<std::string>{"Corvell/Other/1.0.conf", "Corvell/Tagwright/notes.txt"}));

    fs::remove(m_dir.PathOf("config/Corvell/Tagwright/notes.txt"));
    WriteFile(SettingsFile(), "[Settings]\n");
    ASSERT_TRUE(m_integration.Uninstall(SettingsFile()));
    EXPECT_EQ(FilesBelow(m_dir.PathOf("config")),
              (std::vector<std::string>{"Corvell/Other/1.0.conf"}));
    EXPECT_FALSE(fs::exists(m_dir.PathOf("config/Corvell/Tagwright")));
}

TEST_F(DesktopIntegrationTest, TheUsersOwnFilesAreNeitherReplacedNorRemoved)
{
    // A script of the user's under the same name, and a link where the Nemo action goes.
    const std::string strScript = m_integration.GetNautilusScriptPath();
    WriteFile(strScript, "#!/bin/sh\necho mine\n");
    const std::string strTarget = m_dir.PathOf("elsewhere.nemo_action").string();
    WriteFile(strTarget, std::string(DesktopEntries::MARKER) + "\n[Nemo Action]\n");
    fs::create_directories(fs::path(m_integration.GetNemoActionPath()).parent_path());
    fs::create_symlink(strTarget, m_integration.GetNemoActionPath());

    EXPECT_FALSE(m_integration.Install("/opt/tagwright/Tagwright"));
    EXPECT_EQ(Launch::ReadText(strScript), "#!/bin/sh\necho mine\n");
    EXPECT_TRUE(fs::is_symlink(m_integration.GetNemoActionPath()));
    EXPECT_EQ(Launch::ReadText(strTarget),
              std::string(DesktopEntries::MARKER) + "\n[Nemo Action]\n");
    // The other two were written all the same.
    EXPECT_TRUE(fs::exists(m_integration.GetDesktopEntryPath()));
    EXPECT_TRUE(fs::exists(m_integration.GetServiceMenuPath()));

    EXPECT_TRUE(m_integration.Uninstall(SettingsFile()));
    EXPECT_EQ(Launch::ReadText(strScript), "#!/bin/sh\necho mine\n");
    EXPECT_TRUE(fs::is_symlink(m_integration.GetNemoActionPath()));
    EXPECT_TRUE(fs::exists(strTarget));
    EXPECT_FALSE(fs::exists(m_integration.GetDesktopEntryPath()));
    EXPECT_FALSE(fs::exists(m_integration.GetServiceMenuPath()));
}

TEST_F(DesktopIntegrationTest, AFailedWriteLeavesNoPieces)
{
    ASSERT_TRUE(m_integration.Install("/opt/tagwright/Tagwright"));
    const std::string strOld = Launch::ReadText(m_integration.GetDesktopEntryPath());
    const fs::path folder = fs::path(m_integration.GetDesktopEntryPath()).parent_path();
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(folder.c_str(), W_OK) == 0)
    {
        fs::permissions(folder, fs::perms::owner_all);
        GTEST_SKIP() << "permissions do not bind this user";
    }
    EXPECT_FALSE(m_integration.Install("/new/Tagwright"));
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(Launch::ReadText(m_integration.GetDesktopEntryPath()), strOld);
    EXPECT_EQ(FilesBelow(folder), std::vector<std::string>{"com.corvell.Tagwright.desktop"});
}

TEST_F(DesktopIntegrationTest, TheDataFolderComesFromTheEnvironment)
{
    EXPECT_EQ(CDesktopIntegration().GetDataHome(), DataHome());
    {
        // A relative value is not valid and is ignored.
        CScopedEnv data("XDG_DATA_HOME", std::string("relative/share"));
        EXPECT_EQ(CDesktopIntegration().GetDataHome(),
                  m_dir.PathOf("home").string() + "/.local/share");
    }
    {
        CScopedEnv data("XDG_DATA_HOME", std::nullopt);
        EXPECT_EQ(CDesktopIntegration().GetDataHome(),
                  m_dir.PathOf("home").string() + "/.local/share");
        EXPECT_EQ(CDesktopIntegration().GetNemoActionPath(),
                  m_dir.PathOf("home").string() +
                      "/.local/share/nemo/actions/com.corvell.Tagwright.nemo_action");
    }
    EXPECT_EQ(CDesktopIntegration(DataHome() + "//").GetDataHome(), DataHome());
}

TEST_F(DesktopIntegrationTest, WithoutAFolderOrAnAbsoluteProgramNothingIsWritten)
{
    const CDesktopIntegration none{std::string()};
    EXPECT_TRUE(none.GetDesktopEntryPath().empty());
    EXPECT_FALSE(none.Install("/opt/tagwright/Tagwright"));
    EXPECT_FALSE(none.RemoveContextMenus());
    EXPECT_FALSE(CDesktopIntegration("relative").Install("/opt/tagwright/Tagwright"));
    EXPECT_FALSE(m_integration.Install("Tagwright"));
    EXPECT_FALSE(m_integration.Install(""));
    EXPECT_EQ(FilesBelow(m_dir.GetPath()), std::vector<std::string>());
}

TEST(DesktopIntegrationProgram, IsThisProgramsAbsolutePath)
{
    const std::string strPath = CDesktopIntegration::GetProgramPath();
    ASSERT_TRUE(strPath.starts_with('/'));
    EXPECT_EQ(fs::path(strPath).filename(), "app_tests");
    EXPECT_TRUE(fs::equivalent(strPath, "/proc/self/exe"));
}

// The entries written for a stand-in at an awkward path, and two awkward files to open with it.
class DesktopIntegrationLaunchTest : public DesktopIntegrationTest
{
protected:
    DesktopIntegrationLaunchTest()
    {
        const fs::path bin = m_dir.PathOf("bin 'q' \"d\" $HOME \\ %F %% `x`\nend");
        fs::create_directories(bin);
        m_pStandIn = std::make_unique<Launch::CStandIn>((bin / "stand in").string(),
                                                        m_dir.PathOf("record").string());
        m_strFolder = m_dir.PathOf("music 'n' \"more\"").string();
        fs::create_directories(m_strFolder);
        // Everything a shell or a quoting rule could take for its own, a leading dash, a
        // percent sign that looks like a field code, text beyond ASCII and a line end.
        m_arrNames = {"-a 'single' \"double\" $HOME `id` \\n \\ %F %U %% \xc3\xa9\nline.mp3",
                      "trailing backslash\\"};
        for (const std::string& strName : m_arrNames)
        {
            m_arrPaths.push_back(m_strFolder + "/" + strName);
            WriteFile(m_arrPaths.back(), "");
        }
        EXPECT_TRUE(m_integration.Install(m_pStandIn->GetPath()));
    }

    std::string Joined() const { return m_arrPaths[0] + "|" + m_arrPaths[1]; }
    std::string Exec(const std::string& strFile, const std::string& strGroup) const
    {
        const auto raw = Launch::RawValue(Launch::ReadText(strFile), strGroup, "Exec");
        return raw ? Launch::Unescape(*raw) : std::string();
    }
    // The arguments the stand-in got from running argv.
    std::optional<Args> RunAndRecord(const Args& argv, const std::string& strFolder = {},
                                     const Args& env = {})
    {
        EXPECT_EQ(Launch::Run(argv, strFolder, env), 0);
        return m_pStandIn->TakeRecord();
    }

    std::unique_ptr<Launch::CStandIn> m_pStandIn;
    std::string m_strFolder;
    std::vector<std::string> m_arrNames;
    std::vector<std::string> m_arrPaths;
    Launch::CGLib m_glib;
};

TEST_F(DesktopIntegrationLaunchTest, DesktopEntryAndServiceMenuJoinTheFiles)
{
    for (const auto& [strFile, strGroup] :
         {std::pair{m_integration.GetDesktopEntryPath(), std::string("Desktop Entry")},
          std::pair{m_integration.GetServiceMenuPath(),
                    std::string("Desktop Action openwithtagwright")}})
    {
        SCOPED_TRACE(strFile);
        const std::string strExec = Exec(strFile, strGroup);
        // As the desktop entry format reads it (KIO, and the launchers that follow it).
        const Args argv = Launch::ExpandExec(strExec, m_arrPaths);
        ASSERT_EQ(argv.size(), 6u);
        EXPECT_EQ(argv[3], m_pStandIn->GetPath());
        EXPECT_EQ(RunAndRecord(argv), Args{Joined()});
        // One file alone has no bar; no file at all gives an empty argument.
        EXPECT_EQ(RunAndRecord(Launch::ExpandExec(strExec, {m_arrPaths[1]})), Args{m_arrPaths[1]});
        EXPECT_EQ(RunAndRecord(Launch::ExpandExec(strExec, {})), Args{std::string()});

        if (!m_glib.IsLoaded())
            continue;
        // As GLib reads and expands it (Nautilus's and Nemo's "Open With").
        const auto value = m_glib.GetString(strFile, strGroup, "Exec");
        ASSERT_TRUE(value);
        EXPECT_EQ(*value, strExec);
        EXPECT_EQ(RunAndRecord(m_glib.ExpandExec(*value, m_arrPaths)), Args{Joined()});
    }
}

TEST_F(DesktopIntegrationLaunchTest, NautilusScriptJoinsTheFullPaths)
{
    const std::string strScript = m_integration.GetNautilusScriptPath();
    std::string strPathsVar = "NAUTILUS_SCRIPT_SELECTED_FILE_PATHS=";
    for (const std::string& strPath : m_arrPaths)
        strPathsVar += strPath + "\n";
    // As Nautilus runs it: in the folder shown, with the selected names.
    Args argv{strScript};
    argv.insert(argv.end(), m_arrNames.begin(), m_arrNames.end());
    EXPECT_EQ(RunAndRecord(argv, m_strFolder, {strPathsVar}), Args{Joined()});
    // Full paths are taken as they are.
    argv = {strScript, m_arrPaths[1], m_arrPaths[0]};
    EXPECT_EQ(RunAndRecord(argv, "/", {strPathsVar}), Args{m_arrPaths[1] + "|" + m_arrPaths[0]});
    // In the root folder a name gets one separator.
    EXPECT_EQ(RunAndRecord({strScript, "tmp"}, "/"), Args{"/tmp"});
    // Only the variable, for names without a line end.
    EXPECT_EQ(RunAndRecord({strScript}, "/",
                           {"NAUTILUS_SCRIPT_SELECTED_FILE_PATHS=" + m_arrPaths[1] + "\n" +
                            m_strFolder + "\n"}),
              Args{m_arrPaths[1] + "|" + m_strFolder});
    EXPECT_EQ(RunAndRecord({strScript}, "/"), Args{std::string()});
}

TEST_F(DesktopIntegrationLaunchTest, NemoActionJoinsTheFiles)
{
    if (!m_glib.IsLoaded())
        GTEST_SKIP() << "GLib is not on this system";
    const std::string strFile = m_integration.GetNemoActionPath();
    const auto value = m_glib.GetString(strFile, "Nemo Action", "Exec");
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, Exec(strFile, "Nemo Action"));
    // Nemo sees one field code only: the program's path holds a "%F" of its own.
    EXPECT_EQ(value->find('%'), value->find("%U"));
    EXPECT_EQ(value->find('%', value->find("%U") + 1), std::string::npos);

    Args files = m_arrPaths;
    EXPECT_EQ(RunAndRecord(m_glib.ExpandNemoExec(*value, files)), Args{Joined()});
    // A folder, and a name that is all escapes.
    files = {m_strFolder, m_strFolder + "/" + "\xe2\x82\xac%41 \t"};
    EXPECT_EQ(RunAndRecord(m_glib.ExpandNemoExec(*value, files)), Args{files[0] + "|" + files[1]});
    EXPECT_EQ(RunAndRecord(m_glib.ExpandNemoExec(*value, {m_arrPaths[1]})), Args{m_arrPaths[1]});
}

} // namespace

#endif
