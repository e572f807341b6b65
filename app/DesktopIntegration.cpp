#include "app/DesktopIntegration.h"

#ifndef _WIN32

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

const char* const CDesktopIntegration::MARKER =
    "# Tagwright shell integration: written by \"Tagwright -Install\", removed by "
    "\"Tagwright -Uninstall\".";

namespace
{

// The types offered: MPEG audio, M3U playlists (under all their names) and folders.
constexpr std::string_view kMimeTypes = "audio/mpeg;audio/mp2;audio/x-mpegurl;audio/mpegurl;"
                                        "application/vnd.apple.mpegurl;inode/directory;";
constexpr std::string_view kIcon = "audio-x-generic";
constexpr std::string_view kHelpText = "Open selected files with Tagwright";

// The desktop entry and Dolphin hand the selection over as separate arguments (%F); the shell
// joins them with "|" into the one argument Tagwright takes. The program comes as $0.
constexpr std::string_view kJoinScript = "IFS='|'; exec \"$0\" \"$*\"";

// Nemo puts the selection into its command text itself, and quotes paths in a way that loses
// backslashes and quotes. URIs come through intact, since they hold neither; this script turns
// them back into paths. Nemo reads every "%" of the command as the start of a field code, so
// the script holds none: it makes "%" with printf, and builds the one suffix removal it needs
// with eval. The program's path comes as $0, in printf's octal escapes for the same reason.
constexpr std::string_view kNemoScript =
    "p=$(printf \"\\\\045\"); "
    "v() { case $1 in 0*) n=0;; 1*) n=1;; 2*) n=2;; 3*) n=3;; 4*) n=4;; 5*) n=5;; 6*) n=6;; "
    "7*) n=7;; 8*) n=8;; 9*) n=9;; [Aa]*) n=10;; [Bb]*) n=11;; [Cc]*) n=12;; [Dd]*) n=13;; "
    "[Ee]*) n=14;; [Ff]*) n=15;; *) n=16;; esac; }; "
    "d() { o=$IFS; IFS=$p; set -f; set -- $1; set +f; IFS=$o; e=${1-}; "
    "[ $# -gt 0 ] && shift; for f in \"$@\"; do v \"$f\"; a=$n; v \"${f#?}\"; b=$n; "
    "if [ $a -lt 16 ] && [ $b -lt 16 ]; then n=$((a*16+b)); "
    "e=$e\\\\0$((n/64))$((n/8-n/64*8))$((n-n/8*8))${f#??}; else e=$e$p$f; fi; done; }; "
    "t() { r=$(printf \"${p}bx\" \"$1\"); eval \"r=\\${r${p}x}\"; }; "
    "t \"$0\"; g=$r; l=; s=; "
    "for u in \"$@\"; do case $u in file://*) ;; *) continue;; esac; u=${u#file://}; "
    "case $u in /*) ;; *) u=/${u#*/};; esac; d \"$u\"; l=$l$s$e; s=\"|\"; done; "
    "t \"$l\"; exec \"$g\" \"$r\"";

// A word for the POSIX shell (and GLib's command-line parser, which Nemo uses): single quotes,
// each quote inside written as '\''.
std::string QuoteShell(std::string_view text)
{
    std::string strResult = "'";
    for (const char ch : text)
    {
        if (ch == '\'')
            strResult += "'\\''";
        else
            strResult += ch;
    }
    strResult += '\'';
    return strResult;
}

// An argument of a desktop entry's Exec: double quotes, with '"', '`', '$' and '\' escaped by a
// backslash, and '%' doubled, since it would start a field code.
std::string QuoteExecArgument(std::string_view text)
{
    std::string strResult = "\"";
    for (const char ch : text)
    {
        if (ch == '"' || ch == '`' || ch == '$' || ch == '\\')
            strResult += '\\';
        if (ch == '%')
            strResult += '%';
        strResult += ch;
    }
    strResult += '"';
    return strResult;
}

// A value as a key file holds it: backslashes, line ends and tabs escaped, and a leading space
// kept.
std::string EscapeValue(std::string_view text)
{
    std::string strResult;
    for (size_t i = 0; i < text.size(); ++i)
    {
        const char ch = text[i];
        switch (ch)
        {
        case '\\':
            strResult += "\\\\";
            break;
        case '\n':
            strResult += "\\n";
            break;
        case '\r':
            strResult += "\\r";
            break;
        case '\t':
            strResult += "\\t";
            break;
        case ' ':
            strResult += i == 0 ? "\\s" : " ";
            break;
        default:
            strResult += ch;
            break;
        }
    }
    return strResult;
}

// Every byte other than letters, digits and "/._-" as printf's "\0ooo", which the Nemo script
// decodes with "%b".
std::string EncodeOctal(std::string_view text)
{
    std::string strResult;
    for (const char ch : text)
    {
        const auto n = static_cast<unsigned char>(ch);
        const bool bPlain = (n >= 'a' && n <= 'z') || (n >= 'A' && n <= 'Z') ||
                            (n >= '0' && n <= '9') || n == '/' || n == '.' || n == '_' || n == '-';
        if (bPlain)
        {
            strResult += ch;
            continue;
        }
        strResult += "\\0";
        strResult += static_cast<char>('0' + ((n >> 6) & 7));
        strResult += static_cast<char>('0' + ((n >> 3) & 7));
        strResult += static_cast<char>('0' + (n & 7));
    }
    return strResult;
}

// The Exec line of the desktop entry and of Dolphin's action.
std::string MakeJoinExec(const std::string& strProgram)
{
    return "/bin/sh -c " + QuoteExecArgument(kJoinScript) + " " + QuoteExecArgument(strProgram) +
           " %F";
}

std::string MakeDesktopEntry(const std::string& strProgram)
{
    std::string strText = CDesktopIntegration::MARKER;
    strText += "\n[Desktop Entry]\n"
               "Type=Application\n"
               "Version=1.5\n"
               "Name=Tagwright\n"
               "GenericName=Tag Editor\n"
               "Comment=Edit the tags of MPEG audio files\n";
    strText += "Icon=" + std::string(kIcon) + "\n";
    strText += "TryExec=" + EscapeValue(strProgram) + "\n";
    strText += "Exec=" + EscapeValue(MakeJoinExec(strProgram)) + "\n";
    strText += "Terminal=false\n"
               "Categories=AudioVideo;Audio;\n";
    strText += "MimeType=" + std::string(kMimeTypes) + "\n";
    return strText;
}

std::string MakeServiceMenu(const std::string& strProgram)
{
    std::string strText = CDesktopIntegration::MARKER;
    strText += "\n[Desktop Entry]\n"
               "Type=Service\n"
               "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n";
    strText += "MimeType=" + std::string(kMimeTypes) + "\n";
    strText += "Actions=openwithtagwright;\n"
               "X-KDE-Priority=TopLevel\n"
               "\n"
               "[Desktop Action openwithtagwright]\n"
               "Name=Tagwright\n";
    strText += "Icon=" + std::string(kIcon) + "\n";
    strText += "Exec=" + EscapeValue(MakeJoinExec(strProgram)) + "\n";
    return strText;
}

std::string MakeNautilusScript(const std::string& strProgram)
{
    std::string strText = "#!/bin/sh\n";
    strText += CDesktopIntegration::MARKER;
    strText += "\n# Nautilus runs a script in the folder shown, with the selected names as its "
               "arguments.\n"
               "# Tagwright takes the selection as one argument: the full paths joined by \"|\".\n";
    strText += "program=" + QuoteShell(strProgram) + "\n";
    strText += "if [ \"$#\" -eq 0 ] && [ -n \"${NAUTILUS_SCRIPT_SELECTED_FILE_PATHS-}\" ]; then\n"
               "    # Only a line end parts these, so a name with one cannot come this way.\n"
               "    IFS='\n"
               "'\n"
               "    set -f\n"
               "    set -- $NAUTILUS_SCRIPT_SELECTED_FILE_PATHS\n"
               "    set +f\n"
               "    unset IFS\n"
               "fi\n"
               "list=\n"
               "separator=\n"
               "for name in \"$@\"; do\n"
               "    case $name in\n"
               "    /*) ;;\n"
               "    *) name=${PWD%/}/$name ;;\n"
               "    esac\n"
               "    list=$list$separator$name\n"
               "    separator='|'\n"
               "done\n"
               "exec \"$program\" \"$list\"\n";
    return strText;
}

std::string MakeNemoAction(const std::string& strProgram)
{
    const std::string strExec =
        "/bin/sh -c " + QuoteShell(kNemoScript) + " " + QuoteShell(EncodeOctal(strProgram)) + " %U";
    std::string strText = CDesktopIntegration::MARKER;
    strText += "\n[Nemo Action]\n"
               "Name=Tagwright\n";
    strText += "Comment=" + std::string(kHelpText) + "\n";
    strText += "Exec=" + EscapeValue(strExec) + "\n";
    strText += "Icon-Name=" + std::string(kIcon) + "\n";
    strText += "Selection=notnone\n"
               "Extensions=mp3;mp2;mp1;m3u;m3u8;dir;\n"
               "Quote=double\n";
    return strText;
}

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
    const std::string strLine = std::string(CDesktopIntegration::MARKER) + "\n";
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
    return m_strDataHome.empty() ? std::string()
                                 : m_strDataHome + "/applications/Corvell.Tagwright.desktop";
}

std::string CDesktopIntegration::GetServiceMenuPath() const
{
    return m_strDataHome.empty() ? std::string()
                                 : m_strDataHome + "/kio/servicemenus/Corvell.Tagwright.desktop";
}

std::string CDesktopIntegration::GetNautilusScriptPath() const
{
    // The name is the menu item's text.
    return m_strDataHome.empty() ? std::string() : m_strDataHome + "/nautilus/scripts/Tagwright";
}

std::string CDesktopIntegration::GetNemoActionPath() const
{
    return m_strDataHome.empty() ? std::string()
                                 : m_strDataHome + "/nemo/actions/Corvell.Tagwright.nemo_action";
}

BOOL CDesktopIntegration::Install(const std::string& strProgram) const
{
    if (m_strDataHome.empty() || strProgram.empty() || strProgram[0] != '/')
        return FALSE;
    BOOL bOk = TRUE;
    if (!WriteEntry(GetDesktopEntryPath(), MakeDesktopEntry(strProgram), 0644))
        bOk = FALSE;
    // Dolphin runs a service menu of the user's own only when it may be executed.
    if (!WriteEntry(GetServiceMenuPath(), MakeServiceMenu(strProgram), 0755))
        bOk = FALSE;
    if (!WriteEntry(GetNautilusScriptPath(), MakeNautilusScript(strProgram), 0755))
        bOk = FALSE;
    if (!WriteEntry(GetNemoActionPath(), MakeNemoAction(strProgram), 0644))
        bOk = FALSE;
    return bOk;
}

BOOL CDesktopIntegration::RemoveContextMenus() const
{
    if (m_strDataHome.empty())
        return FALSE;
    BOOL bOk = TRUE;
    for (const std::string& strPath :
         {GetServiceMenuPath(), GetNautilusScriptPath(), GetNemoActionPath()})
    {
        if (!RemoveEntry(strPath))
            bOk = FALSE;
    }
    return bOk;
}

BOOL CDesktopIntegration::Uninstall(const std::string& strSettingsFile) const
{
    BOOL bOk = RemoveContextMenus();
    if (m_strDataHome.empty() || !RemoveEntry(GetDesktopEntryPath()))
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
