#include "app/AppSettings.h"

#include "base/Path.h"
#include "base/UserFolders.h"
#include "rename/PresetData.h"

#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace
{

#ifdef _WIN32
// Windows's music folder is the shell's own; the environment does not move it.
class AppSettingsTest : public ::testing::Test
{
protected:
    static CString MusicFolder() { return UserFolders::GetMusicFolder(); }
#else
// Sets an environment variable for the test's duration and puts the old value back.
class CScopedEnv
{
public:
    CScopedEnv(const char* pszName, const char* pszValue) : m_strName(pszName)
    {
        if (const char* pszOld = std::getenv(pszName))
            m_old = pszOld;
        if (pszValue)
            ::setenv(pszName, pszValue, 1);
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

// A home folder of our own, so the music folder the settings fall back to is known.
class AppSettingsTest : public ::testing::Test
{
protected:
    AppSettingsTest()
        : m_home("HOME", m_dir.GetPath().string().c_str()),
          m_config("XDG_CONFIG_HOME", (m_dir.GetPath() / "config").string().c_str())
    {
        std::filesystem::create_directory(m_dir.PathOf("Music"));
    }

    CString MusicFolder() const { return m_dir.StrPathOf("Music"); }

    Fixtures::CTempDir m_dir;
    CScopedEnv m_home;
    CScopedEnv m_config;
#endif

    static CString Section()
    {
        return CString(Settings::SECTION);
    }
    static void WriteInt(CMemoryProfileStore& store, const char16_t* pszEntry, int nValue)
    {
        store.WriteProfileInt(Section(), CString(pszEntry), nValue);
    }
    static void WritePresets(CMemoryProfileStore& store, const std::vector<tagPRESETDATA>& presets,
                             size_t nExtraBytes = 0)
    {
        std::vector<BYTE> data(presets.size() * PRESETDATA_SIZE + nExtraBytes, 0xAB);
        for (size_t i = 0; i < presets.size(); ++i)
            WritePresetBytes(presets[i], data.data() + i * PRESETDATA_SIZE);
        store.WriteProfileBinary(Section(), u"AutoRenamePresets", data.data(),
                                 static_cast<UINT>(data.size()));
    }
    static std::vector<std::string> Patterns(const CAppSettings& settings)
    {
        std::vector<std::string> out;
        for (int i = 0; i < settings.m_presets.GetCount(); ++i)
            out.push_back(GetPresetFormat(*settings.m_presets.GetPreset(i)).ToUtf8());
        return out;
    }
};

const std::vector<std::string> kDefaultPatterns = {"<title>", "<counter> <title>",
                                                   "<artist>-<title>", "<artist>-<album>-<title>"};

// Records every call, in order, and keeps the values in memory.
class CRecordingStore : public CMemoryProfileStore
{
public:
    int GetProfileInt(const CString& strSection, const CString& strEntry,
                      int nDefault) const override
    {
        m_log.push_back("get int " + strSection.ToUtf8() + "/" + strEntry.ToUtf8());
        return CMemoryProfileStore::GetProfileInt(strSection, strEntry, nDefault);
    }
    BOOL WriteProfileInt(const CString& strSection, const CString& strEntry, int nValue) override
    {
        m_log.push_back("int " + strSection.ToUtf8() + "/" + strEntry.ToUtf8() + "=" +
                        std::to_string(nValue));
        return CMemoryProfileStore::WriteProfileInt(strSection, strEntry, nValue);
    }
    CString GetProfileString(const CString& strSection, const CString& strEntry,
                             const CString& strDefault) const override
    {
        m_log.push_back("get string " + strSection.ToUtf8() + "/" + strEntry.ToUtf8());
        return CMemoryProfileStore::GetProfileString(strSection, strEntry, strDefault);
    }
    BOOL WriteProfileString(const CString& strSection, const CString& strEntry,
                            const CString& strValue) override
    {
        m_log.push_back("string " + strSection.ToUtf8() + "/" + strEntry.ToUtf8() + "=" +
                        strValue.ToUtf8());
        return CMemoryProfileStore::WriteProfileString(strSection, strEntry, strValue);
    }
    BOOL GetProfileBinary(const CString& strSection, const CString& strEntry,
                          std::vector<BYTE>& data) const override
    {
        m_log.push_back("get binary " + strSection.ToUtf8() + "/" + strEntry.ToUtf8());
        return CMemoryProfileStore::GetProfileBinary(strSection, strEntry, data);
    }
    BOOL WriteProfileBinary(const CString& strSection, const CString& strEntry, const BYTE* pData,
                            UINT nBytes) override
    {
        m_log.push_back("binary " + strSection.ToUtf8() + "/" + strEntry.ToUtf8() + "=" +
                        std::to_string(nBytes));
        return CMemoryProfileStore::WriteProfileBinary(strSection, strEntry, pData, nBytes);
    }

    mutable std::vector<std::string> m_log;
};

} // namespace

// The log lines followed by one per slot of the recent name patterns.
static std::vector<std::string> PlusPatternSlots(std::vector<std::string> lines,
                                                 const std::string& strKind)
{
    for (int i = 1; i <= 10; ++i)
        lines.push_back(strKind + "TagsFromName/Pattern" + std::to_string(i));
    return lines;
}

TEST_F(AppSettingsTest, MembersAreZeroBeforeLoading)
{
    const CAppSettings settings;
    EXPECT_FALSE(settings.m_bWriteID3v1);
    EXPECT_FALSE(settings.m_bRemoveID3v1);
    EXPECT_FALSE(settings.m_bWriteID3v2);
    EXPECT_FALSE(settings.m_bRemoveID3v2);
    EXPECT_EQ(settings.m_nID3v2WriteVersion, 0);
    EXPECT_EQ(settings.m_nID3v2TextEncoding, 0);
    EXPECT_TRUE(settings.m_strUserPath.IsEmpty());
    EXPECT_TRUE(settings.m_strLastPath.IsEmpty());
    EXPECT_FALSE(settings.m_bContinueFromLastPath);
    EXPECT_FALSE(settings.m_bPlaylistWriteFullPath);
    EXPECT_FALSE(settings.m_bPlaylistWriteExtInfo);
    EXPECT_FALSE(settings.m_bShellIntegrationEnabled);
    EXPECT_EQ(settings.m_presets.GetCount(), 0);
}

TEST_F(AppSettingsTest, EmptyProfileGivesTheDefaults)
{
    CRecordingStore store;
    CAppSettings settings;
    settings.LoadSettings(store);

    EXPECT_EQ(settings.m_bWriteID3v1, TRUE);
    EXPECT_EQ(settings.m_bRemoveID3v1, TRUE);
    EXPECT_EQ(settings.m_bWriteID3v2, TRUE);
    EXPECT_EQ(settings.m_bRemoveID3v2, TRUE);
    EXPECT_EQ(settings.m_nID3v2WriteVersion, 3);
    EXPECT_EQ(settings.m_nID3v2TextEncoding, 1);
    EXPECT_TRUE(settings.m_strUserPath.IsEmpty());
    EXPECT_EQ(settings.m_strLastPath, MusicFolder());
    EXPECT_EQ(settings.m_bContinueFromLastPath, TRUE);
    EXPECT_EQ(settings.m_bPlaylistWriteFullPath, FALSE);
    EXPECT_EQ(settings.m_bPlaylistWriteExtInfo, FALSE);
    EXPECT_EQ(settings.m_bShellIntegrationEnabled, TRUE);

    EXPECT_EQ(Patterns(settings), kDefaultPatterns);
    for (int i = 0; i < settings.m_presets.GetCount(); ++i)
    {
        const tagPRESETDATA& preset = *settings.m_presets.GetPreset(i);
        EXPECT_EQ(preset.nCounterStart, 0);
        EXPECT_EQ(preset.nCounterStep, 1);
        EXPECT_EQ(preset.nLeadingZeros, 3);
        EXPECT_TRUE(preset.bResetPerFolder);
    }

    // Loading reads every value once, in order, and writes nothing.
    const std::vector<std::string> expected = {
        "get int Settings/WriteID3v1",
        "get int Settings/RemoveID3v1",
        "get int Settings/WriteID3v2",
        "get int Settings/RemoveID3v2",
        "get int Settings/ID3v2_WriteVersion",
        "get int Settings/ID3v2_WriteTextEncoding",
        "get string Settings/UserPath",
        "get string Settings/LastPath",
        "get int Settings/ContinueFromLastPath",
        "get int Settings/Playlist_WriteFullPath",
        "get int Settings/Playlist_WriteExtInfo",
        "get int Settings/ShellIntegration_Enabled",
        "get binary Settings/AutoRenamePresets",
    };
    EXPECT_EQ(store.m_log, PlusPatternSlots(expected, "get string "));
}

#ifndef _WIN32
// Needs a music folder of the test's own to take away.
TEST_F(AppSettingsTest, NoMusicFolderLeavesLastPathEmpty)
{
    std::filesystem::remove(m_dir.PathOf("Music"));
    CMemoryProfileStore store;
    CAppSettings settings;
    settings.LoadSettings(store);
    EXPECT_TRUE(settings.m_strLastPath.IsEmpty());
    EXPECT_TRUE(settings.m_strUserPath.IsEmpty());
}
#endif

TEST_F(AppSettingsTest, StoredPathsAreKept)
{
    CMemoryProfileStore store;
    store.WriteProfileString(Section(), u"UserPath", u"/data/start");
    store.WriteProfileString(Section(), u"LastPath", u"/data/last");
    CAppSettings settings;
    settings.LoadSettings(store);
    EXPECT_EQ(settings.m_strUserPath, CString(u"/data/start"));
    EXPECT_EQ(settings.m_strLastPath, CString(u"/data/last"));

    // A stored but empty "LastPath" is filled; "UserPath" never is.
    store.WriteProfileString(Section(), u"UserPath", u"");
    store.WriteProfileString(Section(), u"LastPath", u"");
    settings.LoadSettings(store);
    EXPECT_TRUE(settings.m_strUserPath.IsEmpty());
    EXPECT_EQ(settings.m_strLastPath, MusicFolder());
}

TEST_F(AppSettingsTest, VersionOutsideThreeAndFourBecomesThree)
{
    const struct
    {
        int nStored;
        int nLoaded;
    } cases[] = {{3, 3}, {4, 4},  {0, 3},       {1, 3},      {2, 3},
                 {5, 3}, {-1, 3}, {INT_MIN, 3}, {INT_MAX, 3}};
    for (const auto& c : cases)
    {
        CMemoryProfileStore store;
        WriteInt(store, Settings::ID3V2_WRITE_VERSION, c.nStored);
        CAppSettings settings;
        settings.LoadSettings(store);
        EXPECT_EQ(settings.m_nID3v2WriteVersion, c.nLoaded) << c.nStored;
    }
}

TEST_F(AppSettingsTest, EncodingCorrections)
{
    const struct
    {
        std::optional<int> nVersion;
        std::optional<int> nEncoding;
        int nLoaded;
    } cases[] = {
        {3, 0, 0},
        {4, 0, 0},
        {3, 1, 1},
        {4, 1, 1},
        {3, 2, 1},
        {4, 2, 1},
        {3, 3, 1},
        {4, 3, 3},
        {4, 4, 1},
        {4, -1, 1},
        {4, INT_MIN, 1},
        {4, INT_MAX, 1},
        {std::nullopt, 3, 1}, // version defaults to 3
        {5, 3, 1},            // version corrected to 3 first
        {2, 3, 1},
        {4, std::nullopt, 1},
    };
    for (const auto& c : cases)
    {
        CMemoryProfileStore store;
        if (c.nVersion)
            WriteInt(store, Settings::ID3V2_WRITE_VERSION, *c.nVersion);
        if (c.nEncoding)
            WriteInt(store, Settings::ID3V2_WRITE_TEXT_ENCODING, *c.nEncoding);
        CAppSettings settings;
        settings.LoadSettings(store);
        EXPECT_EQ(settings.m_nID3v2TextEncoding, c.nLoaded)
            << "version " << c.nVersion.value_or(-99) << " encoding " << c.nEncoding.value_or(-99);
    }
}

TEST_F(AppSettingsTest, AnyNonZeroFlagIsTrue)
{
    const char16_t* flags[] = {Settings::WRITE_ID3V1,
                               Settings::REMOVE_ID3V1,
                               Settings::WRITE_ID3V2,
                               Settings::REMOVE_ID3V2,
                               Settings::CONTINUE_FROM_LAST_PATH,
                               Settings::PLAYLIST_WRITE_FULL_PATH,
                               Settings::PLAYLIST_WRITE_EXT_INFO,
                               Settings::SHELL_INTEGRATION_ENABLED};
    for (const int nValue : {0, 1, 2, -1, 255, INT_MIN})
    {
        CMemoryProfileStore store;
        for (const char16_t* pszFlag : flags)
            WriteInt(store, pszFlag, nValue);
        CAppSettings settings;
        settings.LoadSettings(store);
        const BOOL bExpected = nValue != 0 ? TRUE : FALSE;
        const BOOL loaded[] = {
            settings.m_bWriteID3v1,           settings.m_bRemoveID3v1,
            settings.m_bWriteID3v2,           settings.m_bRemoveID3v2,
            settings.m_bContinueFromLastPath, settings.m_bPlaylistWriteFullPath,
            settings.m_bPlaylistWriteExtInfo, settings.m_bShellIntegrationEnabled};
        for (size_t i = 0; i < std::size(loaded); ++i)
            EXPECT_EQ(loaded[i], bExpected) << CString(flags[i]).ToUtf8() << " = " << nValue;
    }
}

TEST_F(AppSettingsTest, ValueOfAnotherTypeGivesTheDefault)
{
    CMemoryProfileStore store;
    store.WriteProfileString(Section(), u"WriteID3v1", u"0");
    store.WriteProfileString(Section(), u"ID3v2_WriteVersion", u"4");
    WriteInt(store, Settings::LAST_PATH, 7);
    store.WriteProfileString(Section(), u"AutoRenamePresets", u"<title>");
    CAppSettings settings;
    settings.LoadSettings(store);
    EXPECT_EQ(settings.m_bWriteID3v1, TRUE);
    EXPECT_EQ(settings.m_nID3v2WriteVersion, 3);
    EXPECT_EQ(settings.m_strLastPath, MusicFolder());
    EXPECT_EQ(Patterns(settings), kDefaultPatterns);
}

TEST_F(AppSettingsTest, SaveWritesEveryValueInOrder)
{
    CAppSettings settings;
    settings.m_bWriteID3v1 = TRUE;
    settings.m_bRemoveID3v1 = FALSE;
    settings.m_bWriteID3v2 = TRUE;
    settings.m_bRemoveID3v2 = FALSE;
    settings.m_nID3v2WriteVersion = 4;
    settings.m_nID3v2TextEncoding = 3;
    settings.m_strUserPath = u"/u";
    settings.m_strLastPath = u"/l";
    settings.m_bContinueFromLastPath = FALSE;
    settings.m_bPlaylistWriteFullPath = TRUE;
    settings.m_bPlaylistWriteExtInfo = TRUE;
    settings.m_bShellIntegrationEnabled = FALSE;
    settings.m_presets.AddPreset(CString(u"<artist>"));
    settings.m_presets.AddPreset(CString(u"<album>"));

    CRecordingStore store;
    store.WriteProfileBinary(Section(), u"ColumnsOrder", nullptr, 0);
    store.m_log.clear();
    settings.SaveSettings(store);

    const std::vector<std::string> expected = {
        "string Settings/UserPath=/u",
        "string Settings/LastPath=/l",
        "int Settings/ContinueFromLastPath=0",
        "int Settings/WriteID3v1=1",
        "int Settings/RemoveID3v1=0",
        "int Settings/WriteID3v2=1",
        "int Settings/RemoveID3v2=0",
        "int Settings/ID3v2_WriteVersion=4",
        "int Settings/ID3v2_WriteTextEncoding=3",
        "int Settings/Playlist_WriteFullPath=1",
        "int Settings/Playlist_WriteExtInfo=1",
        "int Settings/ShellIntegration_Enabled=0",
        "binary Settings/AutoRenamePresets=1064",
    };
    // The empty pattern slots are only looked at.
    EXPECT_EQ(store.m_log, PlusPatternSlots(expected, "get string "));

    // The presets are stored as their records, in order.
    std::vector<BYTE> data;
    ASSERT_TRUE(store.GetProfileBinary(Section(), u"AutoRenamePresets", data));
    ASSERT_EQ(data.size(), 2 * PRESETDATA_SIZE);
    EXPECT_EQ(GetPresetFormat(ReadPresetBytes(data.data())), CString(u"<artist>"));
    EXPECT_EQ(GetPresetFormat(ReadPresetBytes(data.data() + PRESETDATA_SIZE)), CString(u"<album>"));
}

TEST_F(AppSettingsTest, SaveAndLoadRoundTrip)
{
    CAppSettings saved;
    saved.m_bWriteID3v1 = FALSE;
    saved.m_bRemoveID3v1 = TRUE;
    saved.m_bWriteID3v2 = FALSE;
    saved.m_bRemoveID3v2 = TRUE;
    saved.m_nID3v2WriteVersion = 4;
    saved.m_nID3v2TextEncoding = 0;
    saved.m_strUserPath = u"/home/\u00FCser/Musik \u266B";
    saved.m_strLastPath = CString(u"/media/d") + static_cast<char16_t>(0xDCE9); // byte 0xE9
    saved.m_bContinueFromLastPath = FALSE;
    saved.m_bPlaylistWriteFullPath = TRUE;
    saved.m_bPlaylistWriteExtInfo = TRUE;
    saved.m_bShellIntegrationEnabled = FALSE;
    saved.m_presets.AddPreset(MakePreset(u"<counter>-<title>", 10, 2, 5, FALSE));

    CMemoryProfileStore store;
    saved.SaveSettings(store);
    CAppSettings loaded;
    loaded.LoadSettings(store);

    EXPECT_EQ(loaded.m_bWriteID3v1, FALSE);
    EXPECT_EQ(loaded.m_bRemoveID3v1, TRUE);
    EXPECT_EQ(loaded.m_bWriteID3v2, FALSE);
    EXPECT_EQ(loaded.m_bRemoveID3v2, TRUE);
    EXPECT_EQ(loaded.m_nID3v2WriteVersion, 4);
    EXPECT_EQ(loaded.m_nID3v2TextEncoding, 0);
    EXPECT_EQ(loaded.m_strUserPath, saved.m_strUserPath);
    EXPECT_EQ(loaded.m_strLastPath, saved.m_strLastPath);
    EXPECT_EQ(loaded.m_bContinueFromLastPath, FALSE);
    EXPECT_EQ(loaded.m_bPlaylistWriteFullPath, TRUE);
    EXPECT_EQ(loaded.m_bPlaylistWriteExtInfo, TRUE);
    EXPECT_EQ(loaded.m_bShellIntegrationEnabled, FALSE);
    ASSERT_EQ(loaded.m_presets.GetCount(), 1);
    const tagPRESETDATA& preset = *loaded.m_presets.GetPreset(0);
    EXPECT_EQ(GetPresetFormat(preset), CString(u"<counter>-<title>"));
    EXPECT_EQ(preset.nCounterStart, 10);
    EXPECT_EQ(preset.nCounterStep, 2);
    EXPECT_EQ(preset.nLeadingZeros, 5);
    EXPECT_FALSE(preset.bResetPerFolder);

    // A second save of what was loaded stores the same.
    CMemoryProfileStore again;
    loaded.SaveSettings(again);
    std::vector<BYTE> a;
    std::vector<BYTE> b;
    ASSERT_TRUE(store.GetProfileBinary(Section(), u"AutoRenamePresets", a));
    ASSERT_TRUE(again.GetProfileBinary(Section(), u"AutoRenamePresets", b));
    EXPECT_EQ(a, b);
}

TEST_F(AppSettingsTest, FlagsAreSavedAsOneOrZero)
{
    CMemoryProfileStore store;
    WriteInt(store, Settings::WRITE_ID3V1, 5);
    WriteInt(store, Settings::SHELL_INTEGRATION_ENABLED, -1);
    CAppSettings settings;
    settings.LoadSettings(store);
    settings.SaveSettings(store);
    EXPECT_EQ(store.GetProfileInt(Section(), u"WriteID3v1", 99), 1);
    EXPECT_EQ(store.GetProfileInt(Section(), u"ShellIntegration_Enabled", 99), 1);
}

TEST_F(AppSettingsTest, StoredPresetsReplaceTheDefaults)
{
    // Twenty records: all load, the dialog's limit applies only when adding.
    std::vector<tagPRESETDATA> presets;
    for (int i = 0; i < 20; ++i)
        presets.push_back(MakePreset(i % 2 ? u"<artist>" : u"<title>", i, 1, 1 + i % 5));
    CMemoryProfileStore store;
    WritePresets(store, presets);
    CAppSettings settings;
    settings.LoadSettings(store);
    ASSERT_EQ(settings.m_presets.GetCount(), 20);
    EXPECT_EQ(settings.m_presets.GetPreset(19)->nCounterStart, 19);

    // Loading again replaces the list; nothing is added twice.
    settings.LoadSettings(store);
    EXPECT_EQ(settings.m_presets.GetCount(), 20);
}

TEST_F(AppSettingsTest, BytesAfterTheLastRecordAreIgnored)
{
    CMemoryProfileStore store;
    WritePresets(store, {MakePreset(u"<album>")}, 68); // 600 bytes
    CAppSettings settings;
    settings.LoadSettings(store);
    EXPECT_EQ(Patterns(settings), (std::vector<std::string>{"<album>"}));
}

TEST_F(AppSettingsTest, EmptyPresetValueGivesNoPresets)
{
    CMemoryProfileStore store;
    store.WriteProfileBinary(Section(), u"AutoRenamePresets", nullptr, 0);
    CAppSettings settings;
    settings.LoadSettings(store);
    EXPECT_EQ(settings.m_presets.GetCount(), 0);

    // Shorter than one record: the same.
    WritePresets(store, {}, PRESETDATA_SIZE - 1);
    settings.LoadSettings(store);
    EXPECT_EQ(settings.m_presets.GetCount(), 0);
}

TEST_F(AppSettingsTest, OneBadRecordGivesTheDefaults)
{
    CMemoryProfileStore store;
    WritePresets(store, {MakePreset(u"<album>"), MakePreset(u"<title>", 0, 1, 6)}); // 1,064 bytes
    CAppSettings settings;
    settings.LoadSettings(store);
    EXPECT_EQ(Patterns(settings), kDefaultPatterns);
}

TEST_F(AppSettingsTest, RecentNamePatternsRoundTripAndAShorterListLeavesNoneBehind)
{
    CAppSettings saved;
    saved.m_arrNamePatterns = {u"<track> - <title>", u"<artist>/<title>"};
    CMemoryProfileStore store;
    saved.SaveSettings(store);
    CAppSettings loaded;
    loaded.LoadSettings(store);
    EXPECT_EQ(loaded.m_arrNamePatterns, saved.m_arrNamePatterns);

    saved.m_arrNamePatterns.pop_back();
    saved.SaveSettings(store);
    loaded.LoadSettings(store);
    EXPECT_EQ(loaded.m_arrNamePatterns, std::vector<CString>{u"<track> - <title>"});
}
