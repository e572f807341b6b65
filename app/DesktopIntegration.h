// The shell integration of a Linux desktop, for the current user only: the entries of
// DesktopEntries (the desktop entry and the context-menu entries of Dolphin, Nautilus and Nemo),
// written below the user's data folder ($XDG_DATA_HOME, else ~/.local/share); nothing else is
// touched. The switches also remove the entries an earlier version wrote under its old names.
//
// Every file written carries the marker line. A file at one of these places without it belongs
// to the user and is neither replaced nor removed.
#pragma once

#ifndef _WIN32

#include "base/String.h"

#include <string>

class CDesktopIntegration
{
public:
    // The data folder the environment names: $XDG_DATA_HOME when it is absolute, else
    // $HOME/.local/share (the home folder of the account when HOME is not set).
    CDesktopIntegration();
    // The given data folder, which must be absolute; an empty one makes every operation fail.
    explicit CDesktopIntegration(std::string strDataHome);

    const std::string& GetDataHome() const { return m_strDataHome; }
    // The entries' places (empty without a data folder).
    std::string GetDesktopEntryPath() const;
    std::string GetServiceMenuPath() const;
    std::string GetNautilusScriptPath() const;
    std::string GetNemoActionPath() const;

    // "EnableShellIntegration" and "Install": writes the desktop entry and the three context-menu
    // entries, each starting strProgram (an absolute path), replacing earlier ones of ours. Every
    // entry is attempted; TRUE when all were written.
    BOOL Install(const std::string& strProgram) const;
    // "DisableShellIntegration": removes the context-menu entries and keeps the desktop entry.
    // TRUE when none of ours is left.
    BOOL RemoveContextMenus() const;
    // "Uninstall": removes every entry, the settings file strSettingsFile (empty: none) and the
    // program's settings folders "Tagwright" and "Corvell" above it when they are left empty.
    BOOL Uninstall(const std::string& strSettingsFile) const;

    // The running program's absolute path; empty when the system cannot tell.
    static std::string GetProgramPath();
    // The icon of the entries that start strProgram: the program's own when it is installed
    // beside it (bin/ beside share/icons/), else a generic one of the theme.
    static std::string FindIcon(const std::string& strProgram);

private:
    // The path below the data folder (empty without one).
    std::string InDataHome(const char* pszRelative) const;
    // Writes text as the file at strPath (created with its folders, replaced atomically) with the
    // mode given, unless a file that is not ours is there.
    static BOOL WriteEntry(const std::string& strPath, const std::string& strText, unsigned nMode);
    // Removes the file at strPath when it is ours; TRUE also when there is none.
    static BOOL RemoveEntry(const std::string& strPath);

    std::string m_strDataHome;
};

#endif
