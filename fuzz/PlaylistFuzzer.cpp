// The playlist and file-list readers over arbitrary bytes, in a folder holding a few audio files:
// the first byte chooses ".m3u", ".m3u8" or ".lst". Whatever was added, written as a playlist and
// read again, gives the same files.
#include "FuzzInput.h"

#include "app/BusyState.h"
#include "base/Path.h"
#include "browser/DiagnosticMessages.h"
#include "browser/FileAssocData.h"
#include "browser/FileList.h"
#include "browser/Playlist.h"

#include <fstream>
#include <string>
#include <vector>

#include <cstdlib>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

std::string& Folder()
{
    static std::string strFolder;
    return strFolder;
}

void RemoveFolder()
{
    if (!Folder().empty())
        ::nftw(
            Folder().c_str(),
            [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }, 8,
            FTW_DEPTH | FTW_PHYS);
}

void WriteFile(const std::string& strPath, const void* pData, size_t nSize)
{
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(pData), static_cast<std::streamsize>(nSize));
    Fuzz::Check(out.good(), "writing a file");
}

// "<temp>/m" with a.mp3, b.mp3 and sub/c.mp3: one MPEG frame header each.
const std::string& ListFolder()
{
    static const std::string strFolder = []
    {
        // The temporary folder the runner gives, else one in memory.
        const char* pszBase = std::getenv("TMPDIR");
        if (!pszBase || !*pszBase)
            pszBase = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string strTemplate = std::string(pszBase) + "/tagwright-fuzz-XXXXXX";
        Fuzz::Check(::mkdtemp(strTemplate.data()) != nullptr, "a temporary folder");
        Folder() = strTemplate;
        std::atexit(RemoveFolder);
        const std::string strList = strTemplate + "/m";
        Fuzz::Check(::mkdir(strList.c_str(), 0700) == 0, "the list folder");
        Fuzz::Check(::mkdir((strList + "/sub").c_str(), 0700) == 0, "a subfolder");
        const BYTE frame[] = {0xFF, 0xFB, 0x90, 0x40, 0, 0, 0, 0};
        for (const char* pszName : {"/a.mp3", "/b.mp3", "/sub/c.mp3", "/x y.mp3"})
            WriteFile(strList + pszName, frame, sizeof(frame));
        return strList;
    }();
    return strFolder;
}

std::vector<CString> Paths(const CFileList& list)
{
    std::vector<CString> arr;
    for (int i = 0; i < list.GetCount(); ++i)
        arr.push_back(list.GetRecord(i)->GetFullPath());
    return arr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize > 4 * 1024 * 1024)
        return -1;
    const Fuzz::tagSPLITINPUT in(pData, nSize);
    const std::string& strFolder = ListFolder();
    static const char* const arrExtensions[] = {".m3u", ".m3u8", ".lst"};
    const int nKind = (in.nOptions & 3) % 3;
    const std::string strName = strFolder + "/list" + arrExtensions[nKind];
    WriteFile(strName, in.pRest, in.nRest);

    CBusyState busy;
    CFileList list(busy);
    CDiagnosticMessages diag;
    const CString strPath = Path::FromNative(strName);
    if (nKind == 2)
        LoadFileList(list, strPath, &diag);
    else
        LoadPlaylist(list, strPath, nKind == 0 ? CP_ACP : CP_UTF8, &diag);
    Fuzz::Check(!busy.IsBusy(), "the busy state ends with the reading");
    for (const CString& strLine : diag.GetMessages())
        Fuzz::Check(strLine.Find(u'\0') < 0, "a message holds no NUL");
    std::remove(strName.c_str());

    // What was added, written as a playlist of either kind and read back.
    const std::vector<CString> arrPaths = Paths(list);
    std::vector<const CFileAssocData*> arrRecords;
    for (int i = 0; i < list.GetCount(); ++i)
        arrRecords.push_back(list.GetRecord(i));
    const std::string strOut = strFolder + ((in.nOptions & 4) ? "/out.m3u" : "/out.m3u8");
    const std::string strBytes =
        BuildPlaylist(Path::FromNative(strOut), arrRecords, (in.nOptions & 8) != 0, TRUE);
    WriteFile(strOut, strBytes.data(), strBytes.size());
    CFileList again(busy);
    CDiagnosticMessages diagAgain;
    Fuzz::Check(LoadPlaylist(again, Path::FromNative(strOut), (in.nOptions & 4) ? CP_ACP : CP_UTF8,
                             &diagAgain) != FALSE,
                "a written playlist has its header");
    Fuzz::Check(Paths(again) == arrPaths, "a written playlist reads back as the same files");
    Fuzz::Check(diagAgain.GetCount() == 0, "a written playlist reads without a message");
    return 0;
}
