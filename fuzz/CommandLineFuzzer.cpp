// The command line over arbitrary bytes: the input split at NUL bytes into arguments, parsed as
// the program parses its own, and the file argument split at "|". Arguments convert without
// loss, and the pieces are exactly the non-empty parts of the file argument.
#include "FuzzInput.h"

#include "app/AppCommandLineInfo.h"
#include "base/Path.h"
#include "browser/DiagnosticMessages.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize > 256 * 1024)
        return -1;
    std::vector<std::string> arrArgs{"tagwright"};
    std::string strArg;
    for (size_t i = 0; i < nSize; ++i)
    {
        if (pData[i] == 0)
        {
            arrArgs.push_back(strArg);
            strArg.clear();
        }
        else
            strArg.push_back(static_cast<char>(pData[i]));
    }
    arrArgs.push_back(strArg);
    std::vector<const char*> argv;
    for (const std::string& str : arrArgs)
    {
        argv.push_back(str.c_str());
        Fuzz::Check(Path::ToNative(Path::FromNative(str)) == str,
                    "an argument converts without loss");
    }
    argv.push_back(nullptr);

    CAppCommandLineInfo info;
    ParseCommandLine(info, static_cast<int>(arrArgs.size()), argv.data());
    Fuzz::Check(info.m_nCommand >= 0 && info.m_nCommand <= CMD_UNINSTALL, "a known command");
    Fuzz::Check(info.m_strFileName.IsEmpty() == (info.m_nShellCommand == CCommandLineInfo::FileNew),
                "a file argument opens");

    CDiagnosticMessages messages;
    const CStringArray arrPaths = info.GetFilePaths(&messages);
    // Every non-empty piece between the bars is either a path or a message.
    int nPieces = 0;
    const CString& strFiles = info.m_strFileName;
    int nStart = 0;
    while (nStart <= strFiles.GetLength())
    {
        int nEnd = strFiles.Find(u'|', nStart);
        if (nEnd < 0)
            nEnd = strFiles.GetLength();
        if (nEnd > nStart)
            ++nPieces;
        nStart = nEnd + 1;
    }
    Fuzz::Check(static_cast<int>(arrPaths.size()) + messages.GetCount() == nPieces,
                "every piece is a path or a message");
    for (const CString& strPath : arrPaths)
    {
        Fuzz::Check(!strPath.IsEmpty() && strPath.Find(u'|') < 0, "a path is one piece");
        Fuzz::Check(static_cast<int>(Path::ToNative(strPath).size()) < Path::GetMaxPath(),
                    "a path fits the limit");
        Fuzz::Check(strFiles.Find(strPath) >= 0, "a path is a part of the argument");
    }
    return 0;
}
