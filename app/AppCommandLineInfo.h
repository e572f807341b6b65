// The program's command line: the shell-integration switches, and the first plain argument,
// which may join several paths with "|" (as the context menu passes its selection).
#pragma once

#include "app/CommandLineInfo.h"

class CDiagnosticMessages;

// m_nCommand: the switch given, 0 for none.
inline constexpr int CMD_ENABLE_SHELL = 1;
inline constexpr int CMD_DISABLE_SHELL = 2;
inline constexpr int CMD_INSTALL = 3;
inline constexpr int CMD_UNINSTALL = 4;

class CAppCommandLineInfo : public CCommandLineInfo
{
public:
    // "EnableShellIntegration", "DisableShellIntegration", "Install" and "Uninstall", in any
    // case, set m_nCommand and go no further; everything else goes to the base.
    void ParseParam(const CString& strParam, BOOL bFlag, BOOL bLast) override;
    BOOL IsKnownSwitch(const CString& strName) const override;

    // The paths of m_strFileName, split at every "|", in order. Empty pieces are skipped; a
    // piece longer than the platform's path limit is left out and reported to pMessages (may be
    // null) as a line of string 140. A whole argument that names an existing file or folder is
    // that one path, so that a name holding "|" opens too.
    CStringArray GetFilePaths(CDiagnosticMessages* pMessages) const;

    // The command of a switch name, 0 when it is none of the four.
    static int FindSwitch(const CString& strName);

    int m_nCommand = 0;
};
