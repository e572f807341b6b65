// The program's options: plain members, read from the profile once at start-up and written back
// once at exit. The application object derives from this class, so every part of the program
// reads them directly from it.
#pragma once

#include "base/ProfileStore.h"
#include "base/String.h"
#include "rename/AutoRenamePreset.h"

#include <vector>

namespace Settings
{

// Sections of the profile: the options, and the window and bar state kept by the window layer.
inline constexpr char16_t SECTION[] = u"Settings";
inline constexpr char16_t SECTION_PRO[] = u"SettingsPro";
// The recent patterns of "Tags from File Name": "Pattern1" (most recent) to "Pattern10".
inline constexpr char16_t SECTION_NAME_PATTERNS[] = u"TagsFromName";

// Value names in SECTION.
inline constexpr char16_t WRITE_ID3V1[] = u"WriteID3v1";
inline constexpr char16_t REMOVE_ID3V1[] = u"RemoveID3v1";
inline constexpr char16_t WRITE_ID3V2[] = u"WriteID3v2";
inline constexpr char16_t REMOVE_ID3V2[] = u"RemoveID3v2";
inline constexpr char16_t ID3V2_WRITE_VERSION[] = u"ID3v2_WriteVersion";
inline constexpr char16_t ID3V2_WRITE_TEXT_ENCODING[] = u"ID3v2_WriteTextEncoding";
inline constexpr char16_t USER_PATH[] = u"UserPath";
inline constexpr char16_t LAST_PATH[] = u"LastPath";
inline constexpr char16_t CONTINUE_FROM_LAST_PATH[] = u"ContinueFromLastPath";
inline constexpr char16_t PLAYLIST_WRITE_FULL_PATH[] = u"Playlist_WriteFullPath";
inline constexpr char16_t PLAYLIST_WRITE_EXT_INFO[] = u"Playlist_WriteExtInfo";
inline constexpr char16_t SHELL_INTEGRATION_ENABLED[] = u"ShellIntegration_Enabled";

} // namespace Settings

class CAppSettings
{
public:
    CAppSettings() = default;
    virtual ~CAppSettings() = default;
    CAppSettings(const CAppSettings&) = delete;
    CAppSettings& operator=(const CAppSettings&) = delete;

    // Reads every option and the rename presets (not the column layout, which the column
    // manager keeps itself), with the defaults and corrections of each value. A missing music
    // folder leaves "LastPath" empty; a missing or damaged preset list gives the defaults.
    void LoadSettings(IProfileStore& store);
    // Writes them back; failures are not reported.
    void SaveSettings(IProfileStore& store) const;

    // Until LoadSettings every member is zero, false or empty.
    BOOL m_bWriteID3v1 = FALSE;
    BOOL m_bRemoveID3v1 = FALSE;
    BOOL m_bWriteID3v2 = FALSE;
    BOOL m_bRemoveID3v2 = FALSE;
    int m_nID3v2WriteVersion = 0; // 3 or 4
    int m_nID3v2TextEncoding = 0; // 0 ISO-8859-1, 1 UTF-16, 3 UTF-8 (version 4 only)
    CString m_strUserPath;        // start-up folder when not continuing
    CString m_strLastPath;        // start-up folder when continuing
    BOOL m_bContinueFromLastPath = FALSE;
    BOOL m_bPlaylistWriteFullPath = FALSE;
    BOOL m_bPlaylistWriteExtInfo = FALSE;
    BOOL m_bShellIntegrationEnabled = FALSE;
    CAutoRenamePreset m_presets;
    // The patterns "Tags from File Name" used lately, most recent first (at most 10).
    std::vector<CString> m_arrNamePatterns;
};
