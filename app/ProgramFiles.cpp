#include "app/ProgramFiles.h"

#include "base/Path.h"

#include <filesystem>
#include <system_error>

namespace
{

CString Join(const CString& strFolder, const CString& strName)
{
    CString strPath = strFolder;
    if (strPath.IsEmpty() || !Path::IsSeparator(strPath[strPath.GetLength() - 1]))
        strPath += Path::chSeparator;
    strPath += strName;
    return strPath;
}

bool Exists(const CString& strPath)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(Path::ToNative(strPath)), error);
}

} // namespace

CString FindProgramFile(const CString& strProgramFolder, const CString& strFileName)
{
    if (strProgramFolder.IsEmpty())
        return CString();
    const CString strBeside = Join(strProgramFolder, strFileName);
    if (Exists(strBeside))
        return strBeside;
    // The layout of an installed prefix: bin/ beside share/tagwright/.
    const CString strShared = Join(Join(CString(u".."), CString(u"share")), CString(u"tagwright"));
    const CString strInstalled = Join(Path::GetFullPath(strShared, strProgramFolder), strFileName);
    return Exists(strInstalled) ? strInstalled : strBeside;
}
