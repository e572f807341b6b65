#include "app/AppSettings.h"

#include "base/UserFolders.h"
#include "rename/TagsFromName.h"

#include <algorithm>

namespace
{

int ReadInt(const IProfileStore& store, const char16_t* pszEntry, int nDefault)
{
    return store.GetProfileInt(CString(Settings::SECTION), CString(pszEntry), nDefault);
}

// Any non-zero value means true; the member then holds TRUE itself, so a check box or a
// comparison with TRUE reads it right.
BOOL ReadFlag(const IProfileStore& store, const char16_t* pszEntry, BOOL bDefault)
{
    return ReadInt(store, pszEntry, bDefault) != 0 ? TRUE : FALSE;
}

CString ReadString(const IProfileStore& store, const char16_t* pszEntry)
{
    return store.GetProfileString(CString(Settings::SECTION), CString(pszEntry), CString());
}

void WriteInt(IProfileStore& store, const char16_t* pszEntry, int nValue)
{
    store.WriteProfileInt(CString(Settings::SECTION), CString(pszEntry), nValue);
}

void WriteString(IProfileStore& store, const char16_t* pszEntry, const CString& strValue)
{
    store.WriteProfileString(CString(Settings::SECTION), CString(pszEntry), strValue);
}

CString GetPatternEntry(int nIndex)
{
    return FormatString(CString(u"Pattern%d"), nIndex + 1);
}

// The stored patterns in order; empty slots and repeats dropped.
std::vector<CString> ReadNamePatterns(const IProfileStore& store)
{
    std::vector<CString> arrPatterns;
    for (int i = 0; i < RECENT_NAME_PATTERNS_MAX; ++i)
    {
        CString strPattern =
            store.GetProfileString(CString(Settings::SECTION_NAME_PATTERNS), GetPatternEntry(i));
        strPattern.Trim();
        if (!strPattern.IsEmpty() &&
            std::find(arrPatterns.begin(), arrPatterns.end(), strPattern) == arrPatterns.end())
            arrPatterns.push_back(strPattern);
    }
    return arrPatterns;
}

// The slots beyond the list are emptied where they hold something, so that a shorter list
// leaves no old entry behind and a profile that never had any gets none.
void WriteNamePatterns(IProfileStore& store, const std::vector<CString>& arrPatterns)
{
    const CString strSection(Settings::SECTION_NAME_PATTERNS);
    for (int i = 0; i < RECENT_NAME_PATTERNS_MAX; ++i)
    {
        const auto nIndex = static_cast<size_t>(i);
        const CString strEntry = GetPatternEntry(i);
        if (nIndex < arrPatterns.size())
            store.WriteProfileString(strSection, strEntry, arrPatterns[nIndex]);
        else if (!store.GetProfileString(strSection, strEntry).IsEmpty())
            store.WriteProfileString(strSection, strEntry, CString());
    }
}

} // namespace

void CAppSettings::LoadSettings(IProfileStore& store)
{
    m_bWriteID3v1 = ReadFlag(store, Settings::WRITE_ID3V1, TRUE);
    m_bRemoveID3v1 = ReadFlag(store, Settings::REMOVE_ID3V1, TRUE);
    m_bWriteID3v2 = ReadFlag(store, Settings::WRITE_ID3V2, TRUE);
    m_bRemoveID3v2 = ReadFlag(store, Settings::REMOVE_ID3V2, TRUE);

    // Only ID3v2.3 and ID3v2.4 are written; a negative value counts as a huge one.
    m_nID3v2WriteVersion = ReadInt(store, Settings::ID3V2_WRITE_VERSION, 3);
    const unsigned nVersion = static_cast<unsigned>(m_nID3v2WriteVersion);
    if (nVersion < 3 || nVersion > 4)
        m_nID3v2WriteVersion = 3;

    // UTF-16BE (2) is never written, and UTF-8 (3) exists only in ID3v2.4.
    m_nID3v2TextEncoding = ReadInt(store, Settings::ID3V2_WRITE_TEXT_ENCODING, 1);
    if (m_nID3v2TextEncoding < 0 || m_nID3v2TextEncoding == 2 || m_nID3v2TextEncoding > 3)
        m_nID3v2TextEncoding = 1;
    if (m_nID3v2TextEncoding == 3 && m_nID3v2WriteVersion != 4)
        m_nID3v2TextEncoding = 1;

    m_strUserPath = ReadString(store, Settings::USER_PATH);
    m_strLastPath = ReadString(store, Settings::LAST_PATH);

    m_bContinueFromLastPath = ReadFlag(store, Settings::CONTINUE_FROM_LAST_PATH, TRUE);
    m_bPlaylistWriteFullPath = ReadFlag(store, Settings::PLAYLIST_WRITE_FULL_PATH, FALSE);
    m_bPlaylistWriteExtInfo = ReadFlag(store, Settings::PLAYLIST_WRITE_EXT_INFO, FALSE);
    m_bShellIntegrationEnabled = ReadFlag(store, Settings::SHELL_INTEGRATION_ENABLED, TRUE);

    // A first start continues from the music folder; the user's own start folder has no default.
    if (m_strLastPath.IsEmpty())
        m_strLastPath = UserFolders::GetMusicFolder();

    if (!m_presets.LoadFromRegistry(store))
        m_presets.AddDefaultPresets();
    m_arrNamePatterns = ReadNamePatterns(store);
}

void CAppSettings::SaveSettings(IProfileStore& store) const
{
    WriteString(store, Settings::USER_PATH, m_strUserPath);
    WriteString(store, Settings::LAST_PATH, m_strLastPath);
    WriteInt(store, Settings::CONTINUE_FROM_LAST_PATH, m_bContinueFromLastPath);
    WriteInt(store, Settings::WRITE_ID3V1, m_bWriteID3v1);
    WriteInt(store, Settings::REMOVE_ID3V1, m_bRemoveID3v1);
    WriteInt(store, Settings::WRITE_ID3V2, m_bWriteID3v2);
    WriteInt(store, Settings::REMOVE_ID3V2, m_bRemoveID3v2);
    WriteInt(store, Settings::ID3V2_WRITE_VERSION, m_nID3v2WriteVersion);
    WriteInt(store, Settings::ID3V2_WRITE_TEXT_ENCODING, m_nID3v2TextEncoding);
    WriteInt(store, Settings::PLAYLIST_WRITE_FULL_PATH, m_bPlaylistWriteFullPath);
    WriteInt(store, Settings::PLAYLIST_WRITE_EXT_INFO, m_bPlaylistWriteExtInfo);
    WriteInt(store, Settings::SHELL_INTEGRATION_ENABLED, m_bShellIntegrationEnabled);
    m_presets.SaveToRegistry(store);
    WriteNamePatterns(store, m_arrNamePatterns);
}
