#include "app/AppCommandLineInfo.h"

#include "base/Path.h"
#include "browser/DiagnosticMessages.h"
#include "res/StringTable.h"

#include <filesystem>
#include <system_error>

namespace
{

struct tagSWITCH
{
    const char16_t* pszName;
    int nCommand;
};

constexpr tagSWITCH kSwitches[] = {
    {u"EnableShellIntegration", CMD_ENABLE_SHELL},
    {u"DisableShellIntegration", CMD_DISABLE_SHELL},
    {u"Install", CMD_INSTALL},
    {u"Uninstall", CMD_UNINSTALL},
};

} // namespace

int CAppCommandLineInfo::FindSwitch(const CString& strName)
{
    for (const tagSWITCH& s : kSwitches)
    {
        if (strName.CompareNoCase(CString(s.pszName)) == 0)
            return s.nCommand;
    }
    return 0;
}

void CAppCommandLineInfo::ParseParam(const CString& strParam, BOOL bFlag, BOOL bLast)
{
    if (bFlag)
    {
        const int nCommand = FindSwitch(strParam);
        if (nCommand != 0)
        {
            m_nCommand = nCommand;
            return;
        }
    }
    CCommandLineInfo::ParseParam(strParam, bFlag, bLast);
}

BOOL CAppCommandLineInfo::IsKnownSwitch(const CString& strName) const
{
    return FindSwitch(strName) != 0;
}

CStringArray CAppCommandLineInfo::GetFilePaths(CDiagnosticMessages* pMessages) const
{
    CStringArray paths;
    // The longest path the platform takes, without the terminator, measured in the system's own
    // form (bytes of UTF-8 on Linux, UTF-16 units on Windows).
    const size_t nMaxLength = static_cast<size_t>(Path::GetMaxPath() - 1);
    const int nLength = m_strFileName.GetLength();
    if (m_strFileName.Find(u'|') >= 0 && Path::ToNative(m_strFileName).size() <= nMaxLength)
    {
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::path(Path::ToNative(m_strFileName)), error))
            return {m_strFileName};
    }
    int nStart = 0;
    while (nStart <= nLength)
    {
        int nEnd = m_strFileName.Find(u'|', nStart);
        if (nEnd < 0)
            nEnd = nLength;
        const CString strPiece = m_strFileName.Mid(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        if (strPiece.IsEmpty())
            continue;
        if (Path::ToNative(strPiece).size() > nMaxLength)
        {
            if (pMessages)
                pMessages->AddMessage(
                    Res::FormatResourceString(Res::IDS_FAILED_READING_FILE, strPiece));
            continue;
        }
        paths.push_back(strPiece);
    }
    return paths;
}
