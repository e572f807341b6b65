#include "app/DesktopIntegration.h"

#include "app/DesktopEntries.h"

#ifndef _WIN32

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

// The names of an earlier version's entries, removed wherever the switches change the entries.
constexpr const char* kOldDesktopEntryPath = "applications/Corvell.Tagwright.desktop";
constexpr const char* kOldServiceMenuPath = "kio/servicemenus/Corvell.Tagwright.desktop";
constexpr const char* kOldNemoActionPath = "nemo/actions/Corvell.Tagwright.nemo_action";

std::string GetHomeFolder()
{
    const char* pszHome = std::getenv("HOME");
    if (pszHome && pszHome[0] == '/')
        return pszHome;
    long nSize = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buf(nSize > 0 ? static_cast<size_t>(nSize) : 16384);
    passwd pw{};
    passwd* pResult = nullptr;
    if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &pResult) == 0 && pResult &&
        pResult->pw_dir && pResult->pw_dir[0] == '/')
        return pResult->pw_dir;
    return std::string();
}

std::string TrimSeparators(std::string strPath)
{
    while (strPath.size() > 1 && strPath.back() == '/')
        strPath.pop_back();
    return strPath;
}

std::string ParentOf(const std::string& strPath)
{
    const size_t nSlash = strPath.rfind('/');
    if (nSlash == std::string::npos)
        return std::string();
    return nSlash == 0 ? std::string("/") : strPath.substr(0, nSlash);
}

std::string NameOf(const std::string& strPath)
{
    const size_t nSlash = strPath.rfind('/');
    return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

// Creates the folder and the missing ones above it, private to the user as the XDG folders
// should be.
bool MakeFolders(const std::string& strPath)
{
    struct stat st = {};
    if (::stat(strPath.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const std::string strParent = ParentOf(strPath);
    if (strParent.empty() || strParent == strPath || !MakeFolders(strParent))
        return false;
    return ::mkdir(strPath.c_str(), 0700) == 0 || errno == EEXIST;
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty())
    {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        text.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Whether the plain file at the path (not a link) holds the marker line.
bool IsOurs(const std::string& strPath)
{
    const int fd = ::open(strPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st = {};
    std::string text;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
    {
        // The marker is near the top; a long file is not one of ours.
        char buf[4096];
        while (text.size() < 65536)
        {
            const ssize_t n = ::read(fd, buf, sizeof(buf));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            text.append(buf, static_cast<size_t>(n));
        }
    }
    ::close(fd);
    const std::string strLine = std::string(DesktopEntries::MARKER) + "\n";
    return text.starts_with(strLine) || text.find("\n" + strLine) != std::string::npos;
}

} // namespace

CDesktopIntegration::CDesktopIntegration()
{
    const char* pszData = std::getenv("XDG_DATA_HOME");
    // A relative value is not valid and is ignored.
    if (pszData && pszData[0] == '/')
    {
        m_strDataHome = TrimSeparators(pszData);
        return;
    }
    const std::string strHome = GetHomeFolder();
    if (!strHome.empty())
        m_strDataHome = TrimSeparators(strHome) + "/.local/share";
}

CDesktopIntegration::CDesktopIntegration(std::string strDataHome)
{
    if (!strDataHome.empty() && strDataHome[0] == '/')
        m_strDataHome = TrimSeparators(std::move(strDataHome));
}

std::string CDesktopIntegration::GetDesktopEntryPath() const
{
    return InDataHome(DesktopEntries::DESKTOP_ENTRY_PATH);
}

std::string CDesktopIntegration::GetServiceMenuPath() const
{
    return InDataHome(DesktopEntries::SERVICE_MENU_PATH);
}

std::string CDesktopIntegration::GetNautilusScriptPath() const
{
    return InDataHome(DesktopEntries::NAUTILUS_SCRIPT_PATH);
}

std::string CDesktopIntegration::GetNemoActionPath() const
{
    return InDataHome(DesktopEntries::NEMO_ACTION_PATH);
}

BOOL CDesktopIntegration::Install(const std::string& strProgram) const
{
    if (m_strDataHome.empty() || strProgram.empty() || strProgram[0] != '/')
        return FALSE;
    const std::string strIcon = FindIcon(strProgram);
    BOOL bOk = TRUE;
    if (!WriteEntry(GetDesktopEntryPath(),
                    DesktopEntries::MakeDesktopEntry(strProgram, strIcon, true), 0644))
        bOk = FALSE;
    // Dolphin runs a service menu of the user's own only when it may be executed.
    if (!WriteEntry(GetServiceMenuPath(),
                    DesktopEntries::MakeServiceMenu(strProgram, strIcon, true), 0755))
        bOk = FALSE;
    if (!WriteEntry(GetNautilusScriptPath(), DesktopEntries::MakeNautilusScript(strProgram), 0755))
        bOk = FALSE;
    if (!WriteEntry(GetNemoActionPath(), DesktopEntries::MakeNemoAction(strProgram, strIcon, true),
                    0644))
        bOk = FALSE;
    // The earlier version's entries would offer the program twice.
    for (const char* pszOld : {kOldDesktopEntryPath, kOldServiceMenuPath, kOldNemoActionPath})
    {
        if (!RemoveEntry(InDataHome(pszOld)))
            bOk = FALSE;
    }
    return bOk;
}

BOOL CDesktopIntegration::RemoveContextMenus() const
{
    if (m_strDataHome.empty())
        return FALSE;
    BOOL bOk = TRUE;
    for (const std::string& strPath :
         {GetServiceMenuPath(), GetNautilusScriptPath(), GetNemoActionPath(),
          InDataHome(kOldServiceMenuPath), InDataHome(kOldNemoActionPath)})
    {
        if (!RemoveEntry(strPath))
            bOk = FALSE;
    }
    return bOk;
}

BOOL CDesktopIntegration::Uninstall(const std::string& strSettingsFile) const
{
    BOOL bOk = RemoveContextMenus();
    if (m_strDataHome.empty() || !RemoveEntry(GetDesktopEntryPath()) ||
        !RemoveEntry(InDataHome(kOldDesktopEntryPath)))
        bOk = FALSE;
    if (!strSettingsFile.empty())
    {
        if (::unlink(strSettingsFile.c_str()) != 0 && errno != ENOENT)
            bOk = FALSE;
        // What the settings store leaves behind when it was stopped while writing.
        ::unlink((strSettingsFile + ".lock").c_str());
        // The program's own folders go when nothing else is in them.
        std::string strFolder = ParentOf(strSettingsFile);
        for (const char* pszName : {"Tagwright", "Corvell"})
        {
            if (NameOf(strFolder) != pszName || ::rmdir(strFolder.c_str()) != 0)
                break;
            strFolder = ParentOf(strFolder);
        }
    }
    return bOk;
}

std::string CDesktopIntegration::GetProgramPath()
{
    std::vector<char> buf(4096);
    for (;;)
    {
        const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0)
            return std::string();
        if (static_cast<size_t>(n) < buf.size())
        {
            std::string strPath(buf.data(), static_cast<size_t>(n));
            // A program file replaced while it runs (a new build) is still the one to start.
            constexpr std::string_view kDeleted = " (deleted)";
            if (strPath.ends_with(kDeleted))
            {
                const std::string strBase = strPath.substr(0, strPath.size() - kDeleted.size());
                if (::access(strBase.c_str(), X_OK) == 0)
                    strPath = strBase;
            }
            return strPath.starts_with('/') ? strPath : std::string();
        }
        buf.resize(buf.size() * 2);
    }
}

std::string CDesktopIntegration::InDataHome(const char* pszRelative) const
{
    return m_strDataHome.empty() ? std::string() : m_strDataHome + "/" + pszRelative;
}

std::string CDesktopIntegration::FindIcon(const std::string& strProgram)
{
    // An installed program's icon lies in its prefix's theme folder; the file's own path works
    // for a prefix that is not among the desktop's data folders.
    const std::string strIcon = ParentOf(ParentOf(strProgram)) +
                                "/share/icons/hicolor/scalable/apps/" + DesktopEntries::DESKTOP_ID +
                                ".svg";
    struct stat st = {};
    if (::stat(strIcon.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        return strIcon;
    return DesktopEntries::FALLBACK_ICON;
}

BOOL CDesktopIntegration::WriteEntry(const std::string& strPath, const std::string& strText,
                                     unsigned nMode)
{
    const std::string strFolder = ParentOf(strPath);
    if (!MakeFolders(strFolder))
        return FALSE;
    struct stat st = {};
    if (::lstat(strPath.c_str(), &st) == 0 && !IsOurs(strPath))
        return FALSE;
    // A hidden name beside it, which no file manager reads, then renamed over it at once.
    std::string strTemp = strFolder + "/." + NameOf(strPath) + ".XXXXXX";
    const int fd = ::mkstemp(strTemp.data());
    if (fd < 0)
        return FALSE;
    bool bOk = WriteAll(fd, strText) && ::fchmod(fd, static_cast<mode_t>(nMode)) == 0;
    if (::close(fd) != 0)
        bOk = false;
    if (bOk && ::rename(strTemp.c_str(), strPath.c_str()) == 0)
        return TRUE;
    ::unlink(strTemp.c_str());
    return FALSE;
}

BOOL CDesktopIntegration::RemoveEntry(const std::string& strPath)
{
    struct stat st = {};
    if (::lstat(strPath.c_str(), &st) != 0)
        return errno == ENOENT ? TRUE : FALSE;
    // Someone else's file stays.
    if (!IsOurs(strPath))
        return TRUE;
    return ::unlink(strPath.c_str()) == 0 || errno == ENOENT ? TRUE : FALSE;
}

#endif
