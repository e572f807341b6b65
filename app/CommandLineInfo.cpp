#include "app/CommandLineInfo.h"

#include <string_view>

void CCommandLineInfo::ParseParam(const CString& strParam, BOOL bFlag, BOOL /*bLast*/)
{
    if (bFlag)
        return;
    // An empty argument names nothing, so the next plain one may still become the file name.
    if (m_strFileName.IsEmpty() && !strParam.IsEmpty())
    {
        m_strFileName = strParam;
        m_nShellCommand = FileOpen;
    }
}

BOOL CCommandLineInfo::IsKnownSwitch(const CString& /*strName*/) const
{
    return FALSE;
}

void ParseCommandLine(CCommandLineInfo& info, const CStringArray& args)
{
    const size_t nCount = args.size();
    for (size_t i = 0; i < nCount; ++i)
    {
        const CString& strArg = args[i];
        const BOOL bLast = i + 1 == nCount;
        BOOL bFlag = FALSE;
        if (!strArg.IsEmpty() && strArg[0] == u'-')
        {
            bFlag = TRUE;
        }
        else if (!strArg.IsEmpty() && strArg[0] == u'/')
        {
            // Where "/" begins every absolute path, an argument is a switch only when the
            // program knows the name; otherwise it is a path and goes on whole.
            bFlag = Path::chSeparator != u'/' || info.IsKnownSwitch(strArg.Mid(1));
        }
        if (bFlag)
            info.ParseParam(strArg.Mid(1), TRUE, bLast);
        else
            info.ParseParam(strArg, FALSE, bLast);
    }
}

void ParseCommandLine(CCommandLineInfo& info, int argc,
                      const Path::NativePath::value_type* const* argv)
{
    CStringArray args;
    for (int i = 1; i < argc && argv && argv[i]; ++i)
        args.push_back(Path::FromNative(Path::NativePathView(argv[i])));
    ParseCommandLine(info, args);
}
