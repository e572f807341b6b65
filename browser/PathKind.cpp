#include "browser/PathKind.h"

#include "base/Path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace
{

// The path as the platform's path buffer holds it: at most its limit less the terminator.
CString CutToPathLimit(const CString& strPath)
{
    const int nMax = Path::GetMaxPath() - 1;
    return strPath.GetLength() > nMax ? strPath.Left(nMax) : strPath;
}

BOOL IsDirectory(const CString& strPath)
{
#ifdef _WIN32
    const DWORD dwAttributes = ::GetFileAttributesW(Path::ToNative(strPath).c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
#else
    struct stat st = {};
    return ::stat(Path::ToNative(strPath).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
#endif
}

// Whether the text from nStart to the end equals the lower-case ASCII pattern, case folded.
BOOL EndsWithNoCase(const CString& strPath, int nStart, std::u16string_view pattern)
{
    if (strPath.GetLength() - nStart != static_cast<int>(pattern.size()))
        return FALSE;
    for (size_t i = 0; i < pattern.size(); ++i)
    {
        if (FoldCase(strPath[nStart + static_cast<int>(i)]) != pattern[i])
            return FALSE;
    }
    return TRUE;
}

PATH_KIND KindOfExtension(const CString& strPath)
{
    const int nDot = strPath.ReverseFind(u'.');
    if (nDot < 0)
        return PATH_OTHER;
    if (EndsWithNoCase(strPath, nDot, u".mp3") || EndsWithNoCase(strPath, nDot, u".mp2") ||
        EndsWithNoCase(strPath, nDot, u".mp1"))
        return PATH_AUDIO;
    if (EndsWithNoCase(strPath, nDot, u".m3u8"))
        return PATH_M3U8;
    if (EndsWithNoCase(strPath, nDot, u".m3u"))
        return PATH_M3U;
    if (EndsWithNoCase(strPath, nDot, u".lst"))
        return PATH_LST;
    return PATH_OTHER;
}

} // namespace

PATH_KIND GetPathKind(const CString& strPath)
{
    if (strPath.IsEmpty())
        return PATH_OTHER;
    const CString strCut = CutToPathLimit(strPath);
    if (Path::IsSeparator(strCut[strCut.GetLength() - 1]) || IsDirectory(strCut))
        return PATH_FOLDER;
    return KindOfExtension(strCut);
}

PATH_KIND GetPathKindByExtension(const CString& strPath)
{
    return KindOfExtension(CutToPathLimit(strPath));
}
