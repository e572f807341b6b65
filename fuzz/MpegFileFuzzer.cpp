// The whole container over a temporary file: open and read it, save or remove tags as the first
// byte of the input says, and read it again. A save that reports success leaves the audio where
// the new tags say it is, byte for byte, and the tags read back as written; one that reports
// failure leaves the file as it was.
#include "FuzzInput.h"

#include "base/Path.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/frames/TextFrame.h"
#include "tags/mpeg/AudioProperties.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <cstdio>
#include <cstdlib>
#include <ftw.h>
#include <unistd.h>

using namespace Tags;
using namespace Tags::ID3v2Tag;
using Bytes = std::vector<BYTE>;

namespace
{

// The options byte.
constexpr BYTE OPT_ID3V2 = 0x01;
constexpr BYTE OPT_ID3V1 = 0x02;
constexpr BYTE OPT_REMOVE = 0x04;
constexpr BYTE OPT_VERSION3 = 0x08;
constexpr BYTE OPT_ENCODING = 0x30; // two bits
constexpr BYTE OPT_SET_TITLE = 0x40;
constexpr BYTE OPT_CLEAR = 0x80; // drop every frame and field: saving then removes the tags

const char16_t* const TITLE = u"Fuzzed title \u00e9";
const char16_t* const V1_TITLE = u"Fuzzed v1";

// A folder of our own in memory (or the temporary folder), removed at exit.
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

const std::string& FilePath()
{
    static const std::string strPath = []
    {
        // The temporary folder the runner gives, else one in memory.
        const char* pszBase = std::getenv("TMPDIR");
        if (!pszBase || !*pszBase)
            pszBase = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string strTemplate = std::string(pszBase) + "/tagwright-fuzz-XXXXXX";
        Fuzz::Check(::mkdtemp(strTemplate.data()) != nullptr, "a temporary folder");
        Folder() = strTemplate;
        std::atexit(RemoveFolder);
        return strTemplate + "/f.mp3";
    }();
    return strPath;
}

Bytes ReadAll(const std::string& strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& strPath, const uint8_t* pData, size_t nSize)
{
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(pData), static_cast<std::streamsize>(nSize));
    Fuzz::Check(out.good(), "writing the input file");
}

size_t Touch(CMpegFile& file)
{
    size_t n = 0;
    if (const CTagBase* p = file.GetID3v2(FALSE))
        n += p->GetTitle().GetLength() + p->GetGenre().GetLength() + p->GetYear().GetLength() +
             static_cast<size_t>(p->GetTrack());
    if (const CTagBase* p = file.GetID3v1(FALSE))
        n += p->GetTitle().GetLength() + p->GetGenre().GetLength() + p->GetYear().GetLength() +
             static_cast<size_t>(p->GetTrack());
    if (const CAudioProperties* p = file.GetAudioProperties())
        n += static_cast<size_t>(p->GetLength() + p->GetBitrate() + p->GetChannels());
    return n;
}

void Edit(CMpegFile& file, BYTE nOptions)
{
    if (nOptions & OPT_CLEAR)
    {
        if (CID3v2* pTag = file.GetID3v2(FALSE))
            pTag->m_frames.clear();
        if (ID3v1Tag::CID3v1* pV1 = file.GetID3v1(FALSE))
            *pV1 = ID3v1Tag::CID3v1();
    }
    if (nOptions & OPT_SET_TITLE)
    {
        CID3v2* pTag = file.GetID3v2(TRUE);
        while (pTag->DeleteFrameByID("TIT2"))
        {
        }
        auto pFrame = std::make_unique<CTextFrame>("TIT2", 4);
        pFrame->SetValues({CString(TITLE)});
        pTag->AddTail(std::move(pFrame));
        file.GetID3v1(TRUE)->SetTitle(V1_TITLE);
    }
    if (CID3v2* pTag = file.GetID3v2(FALSE))
    {
        pTag->m_pHeader->m_nVersion = (nOptions & OPT_VERSION3) ? 3 : 4;
        // The encodings the program writes (the settings allow no other).
        static constexpr int arrEncodings[4] = {0, 1, 3, 1};
        pTag->m_nTextEncoding = arrEncodings[(nOptions & OPT_ENCODING) >> 4];
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize > 1024 * 1024)
        return -1;
    const Fuzz::tagSPLITINPUT in(pData, nSize);
    const std::string& strPath = FilePath();
    WriteAll(strPath, in.pRest, in.nRest);
    const Bytes original(in.pRest, in.pRest + in.nRest);

    const UINT nFlags =
        ((in.nOptions & OPT_ID3V1) ? TAG_ID3V1 : 0) | ((in.nOptions & OPT_ID3V2) ? TAG_ID3V2 : 0);
    BOOL bSaved = FALSE;
    size_t nHead = 0;    // the ID3v2 tag's length before the save
    size_t nTail = 0;    // the ID3v1 block's length before
    size_t nNewHead = 0; // and after
    size_t nNewTail = 0;
    bool bWroteTitle = false;
    {
        CMpegFile file(Path::FromNative(strPath), TRUE);
        Fuzz::Check(file.m_hFile != INVALID_HANDLE_VALUE, "a regular file opens");
        Touch(file);
        nHead = file.HasID3v2() ? file.GetID3v2Size() : 0;
        nTail = file.HasID3v1() ? ID3v1Tag::CID3v1::BLOCK_SIZE : 0;
        Edit(file, in.nOptions);
        bWroteTitle = (in.nOptions & OPT_SET_TITLE) && !(in.nOptions & OPT_REMOVE);
        try
        {
            bSaved = (in.nOptions & OPT_REMOVE) ? file.RemoveTags(nFlags) : file.SaveTags(nFlags);
        }
        catch (const CFileException& e)
        {
            std::fprintf(stderr, "%s (cause %d, error %d)\n", e.what(), e.m_cause,
                         static_cast<int>(e.m_lOsError));
            Fuzz::Fail("a save in a working folder throws");
        }
        nNewHead = file.HasID3v2() ? file.GetID3v2Size() : 0;
        nNewTail = file.HasID3v1() ? ID3v1Tag::CID3v1::BLOCK_SIZE : 0;
        Touch(file);
    }

    const Bytes after = ReadAll(strPath);
    if (!bSaved)
    {
        Fuzz::Check(after == original, "a refused save leaves the file as it was");
        return 0;
    }

    // Everything between the old tags is what lies between the new ones: the audio when the
    // ID3v2 tag was written, else everything before the ID3v1 block.
    const size_t nBody = original.size() - nTail;
    size_t nKeepFrom = 0;
    if (nFlags & TAG_ID3V2)
    {
        Fuzz::Check(nHead <= nBody, "a tag that runs into the block is never replaced");
        nKeepFrom = nHead;
    }
    else
    {
        Fuzz::Check(nNewHead == nHead, "the ID3v2 tag is left alone");
        nNewHead = 0;
    }
    const Bytes middle(original.begin() + static_cast<std::ptrdiff_t>(nKeepFrom),
                       original.begin() + static_cast<std::ptrdiff_t>(nBody));
    Fuzz::Check(after.size() == nNewHead + middle.size() + nNewTail,
                "the file is the new tags around the audio");
    Fuzz::Check(std::equal(middle.begin(), middle.end(),
                           after.begin() + static_cast<std::ptrdiff_t>(nNewHead)),
                "the audio is unchanged");
    if (!(nFlags & TAG_ID3V1))
        Fuzz::Check(nNewTail == nTail &&
                        std::equal(original.end() - static_cast<std::ptrdiff_t>(nTail),
                                   original.end(),
                                   after.end() - static_cast<std::ptrdiff_t>(nTail)),
                    "the ID3v1 block is left alone");

    // Read again, the file holds what was written.
    CMpegFile file(Path::FromNative(strPath), TRUE);
    Fuzz::Check(file.m_hFile != INVALID_HANDLE_VALUE, "the saved file opens");
    Touch(file);
    if ((nFlags & TAG_ID3V2) && nNewHead > 0)
    {
        Fuzz::Check(file.HasID3v2() && file.GetID3v2Size() == nNewHead,
                    "the new ID3v2 tag is found with its length");
        if (bWroteTitle)
            Fuzz::Check(file.GetID3v2(FALSE)->GetTitle() == TITLE, "the ID3v2 title reads back");
    }
    if ((nFlags & TAG_ID3V1) && nNewTail > 0)
    {
        Fuzz::Check(file.HasID3v1() != FALSE, "the new ID3v1 block is found");
        if (bWroteTitle)
            Fuzz::Check(file.GetID3v1(FALSE)->GetTitle() == V1_TITLE, "the ID3v1 title reads back");
    }
    return 0;
}
