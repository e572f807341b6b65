#include "base/UserFolders.h"

#include "base/Path.h"

#ifdef _WIN32
// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on
#else
#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#endif

namespace UserFolders
{

#ifdef _WIN32

CString GetMusicFolder()
{
    wchar_t szPath[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, szPath, CSIDL_MYMUSIC, FALSE))
        return CString();
    return Path::FromNative(std::wstring_view(szPath));
}

#else

namespace
{

std::string GetHomeFolder()
{
    const char* pszHome = std::getenv("HOME");
    if (pszHome && *pszHome)
        return pszHome;
    // No HOME in the environment: the account's own entry.
    long nSize = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buf(nSize > 0 ? static_cast<size_t>(nSize) : 16384);
    passwd pw{};
    passwd* pResult = nullptr;
    if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &pResult) == 0 && pResult &&
        pResult->pw_dir)
        return pResult->pw_dir;
    return std::string();
}

// The home folder followed by a tail that begins with "/" (or is empty), with one separator
// between them even when home is "/" or ends with one.
std::string JoinHome(std::string strHome, std::string_view tail)
{
    while (!strHome.empty() && strHome.back() == '/')
        strHome.pop_back();
    strHome += tail;
    return strHome.empty() ? std::string("/") : strHome;
}

bool IsFolder(const std::string& strPath)
{
    struct stat st = {};
    return !strPath.empty() && ::stat(strPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void SkipBlanks(std::string_view& s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
}

// One line of the user-dirs file: XDG_MUSIC_DIR="$HOME/Music" or XDG_MUSIC_DIR="/abs/path",
// the value in shell double quotes. Empty when the line sets something else or is not valid.
std::string ParseMusicLine(std::string_view s, const std::string& strHome)
{
    constexpr std::string_view kName = "XDG_MUSIC_DIR";
    SkipBlanks(s);
    if (s.substr(0, kName.size()) != kName)
        return std::string();
    s.remove_prefix(kName.size());
    SkipBlanks(s);
    if (s.empty() || s.front() != '=')
        return std::string();
    s.remove_prefix(1);
    SkipBlanks(s);
    if (s.empty() || s.front() != '"')
        return std::string();
    s.remove_prefix(1);

    // The quoted text, with the shell's escapes inside double quotes undone.
    std::string strValue;
    bool bClosed = false;
    while (!s.empty())
    {
        char ch = s.front();
        s.remove_prefix(1);
        if (ch == '"')
        {
            bClosed = true;
            break;
        }
        if (ch == '\\' && !s.empty() &&
            (s.front() == '"' || s.front() == '\\' || s.front() == '$' || s.front() == '`'))
        {
            ch = s.front();
            s.remove_prefix(1);
        }
        strValue += ch;
    }
    if (!bClosed)
        return std::string();

    std::string strPath;
    constexpr std::string_view kHome = "$HOME";
    if (std::string_view(strValue).substr(0, kHome.size()) == kHome &&
        (strValue.size() == kHome.size() || strValue[kHome.size()] == '/'))
    {
        if (strHome.empty())
            return std::string();
        strPath = JoinHome(strHome, std::string_view(strValue).substr(kHome.size()));
    }
    else if (!strValue.empty() && strValue.front() == '/')
    {
        strPath = strValue;
    }
    else
    {
        return std::string();
    }
    while (strPath.size() > 1 && strPath.back() == '/')
        strPath.pop_back();
    return strPath;
}

// The music folder the XDG user-dirs file names; empty when it names none.
std::string GetXdgMusicFolder(const std::string& strHome)
{
    std::string strConfig;
    const char* pszConfig = std::getenv("XDG_CONFIG_HOME");
    // A relative value is not valid and is ignored.
    if (pszConfig && pszConfig[0] == '/')
        strConfig = pszConfig;
    else if (!strHome.empty())
        strConfig = JoinHome(strHome, "/.config");
    else
        return std::string();

    std::ifstream file(strConfig + "/user-dirs.dirs", std::ios::binary);
    if (!file)
        return std::string();
    std::string strFolder;
    std::string strLine;
    while (std::getline(file, strLine))
    {
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        // The file is read by the shell, so a later line wins.
        std::string strPath = ParseMusicLine(strLine, strHome);
        if (!strPath.empty())
            strFolder = std::move(strPath);
    }
    return strFolder;
}

} // namespace

CString GetMusicFolder()
{
    const std::string strHome = GetHomeFolder();
    std::string candidates[2] = {GetXdgMusicFolder(strHome),
                                 strHome.empty() ? std::string() : JoinHome(strHome, "/Music")};
    const size_t nMaxLength = static_cast<size_t>(Path::GetMaxPath() - 1);
    for (const std::string& strPath : candidates)
    {
        if (strPath.size() <= nMaxLength && IsFolder(strPath))
            return Path::FromNative(strPath);
    }
    return CString();
}

#endif

} // namespace UserFolders
