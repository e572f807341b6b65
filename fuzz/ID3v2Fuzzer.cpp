// The ID3v2 reader over arbitrary bytes: as the start of a file (Read) and as a frame area
// (ParseFrames) of every version and header flag. A tag that was read renders, and what it
// renders reads back as the same tag.
#include "FuzzInput.h"

#include "tags/file/RenderBuffer.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/ID3v2Header.h"

#include <string>
#include <vector>

using namespace Tags;
using namespace Tags::ID3v2Tag;

namespace
{

// The encodings the program writes (the settings allow no other).
constexpr int WRITE_ENCODINGS[4] = {0, 1, 3, 1};

// Asks every question a list or an editor asks of a tag.
size_t Touch(const CID3v2& tag)
{
    size_t n = tag.GetTitle().GetLength() + tag.GetAlbum().GetLength() +
               tag.GetArtist().GetLength() + tag.GetYear().GetLength() +
               tag.GetComment().GetLength() + tag.GetGenre().GetLength() +
               static_cast<size_t>(tag.GetTrack() != 0) + static_cast<size_t>(tag.IsEmpty());
    for (const auto& pFrame : tag.m_frames)
    {
        n += pFrame->GetText().GetLength();
        n += std::string(pFrame->GetRuntimeClassName()).size();
        const std::unique_ptr<CFrame> pClone = pFrame->Clone();
        Fuzz::Check(pClone != nullptr, "a frame clones");
        Fuzz::Check(std::string(pClone->GetID()) == pFrame->GetID(), "a clone keeps the ID");
    }
    return n;
}

std::vector<std::string> IDs(const CID3v2& tag)
{
    std::vector<std::string> arr;
    for (const auto& pFrame : tag.m_frames)
        arr.emplace_back(pFrame->GetID());
    return arr;
}

struct tagWRITTEN
{
    std::string strID;
    CString strText;
    std::vector<BYTE> body;
};

// The frames a rendering writes, with their texts and bodies: those with a four-character ID and
// a body.
std::vector<tagWRITTEN> Written(const CID3v2& tag)
{
    std::vector<tagWRITTEN> arr;
    for (const auto& pFrame : tag.m_frames)
    {
        CRenderBuffer body;
        pFrame->Render(body);
        if (std::string(pFrame->GetID()).size() != 4 || body.IsEmpty())
            continue;
        // Empty values at the end read as none ("a; ; " as "a"), which is no loss.
        CString strText = pFrame->GetText();
        while (strText.GetLength() >= 2 && strText.Right(2) == u"; ")
            strText.Truncate(strText.GetLength() - 2);
        // Likewise terminators at the end of the body.
        std::vector<BYTE> bytes = body.GetBytes();
        while (bytes.size() > 1 && bytes.back() == 0)
            bytes.pop_back();
        arr.push_back({pFrame->GetID(), strText, bytes});
    }
    return arr;
}

// Renders the tag as the options say and reads the result again: the frames written are the
// frames read, with the same texts when the encoding holds every character.
void RoundTrip(CID3v2& tag, BYTE nOptions)
{
    tag.m_pHeader->m_nVersion = (nOptions & 1) ? 3 : 4;
    tag.m_nTextEncoding = WRITE_ENCODINGS[(nOptions >> 1) & 3];
    CRenderBuffer first;
    tag.Render(first);
    Fuzz::Check(first.GetLength() >= CHeader::HEADER_SIZE, "a rendered tag has its header");
    Fuzz::Check(CHeader::IsHeader(first.GetData(), first.GetLength()), "the header is valid");

    Fuzz::CMemoryFile file(first.GetData(), first.GetLength());
    CID3v2 again;
    Fuzz::Check(again.Read(file) != FALSE, "a rendered tag reads");
    Fuzz::Check(again.m_pHeader->GetTagLength() == first.GetLength(),
                "the header holds the rendered length");
    Fuzz::Check(again.m_pHeader->m_nVersion == tag.m_pHeader->m_nVersion, "the version stays");
    // (A tag without frames keeps a size too small for a frame header as padding; the container
    // never writes one, it removes the tag instead.)
    Fuzz::Check(again.m_bValid != FALSE || again.m_pHeader->m_nSize < CHeader::HEADER_SIZE,
                "a rendered tag is valid");

    const auto arrWritten = Written(tag);
    const auto arrRead = Written(again);
    Fuzz::Check(arrRead.size() == arrWritten.size(), "every frame written is read");
    for (size_t i = 0; i < arrRead.size(); ++i)
    {
        Fuzz::Check(arrRead[i].strID == arrWritten[i].strID, "in the order written");
        // ANSI may not hold a character; the other encodings hold every one. (A converted frame
        // that became TXXX shows its text as a text frame, the one read as a TXXX frame.)
        if (tag.m_nTextEncoding != 0)
            Fuzz::Check(arrRead[i].body == arrWritten[i].body ||
                            arrRead[i].strText == arrWritten[i].strText,
                        "with the text written");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize > 1024 * 1024)
        return -1;

    // The bytes as a file.
    {
        Fuzz::CMemoryFile file(pData, nSize);
        CID3v2 tag;
        if (tag.Read(file))
        {
            Touch(tag);
            const BYTE nOptions = nSize > 3 ? pData[3] : 0;
            RoundTrip(tag, nOptions);
            Touch(tag);
        }
    }

    // The bytes as a frame area, after the first byte that picks the version and the flags.
    const Fuzz::tagSPLITINPUT in(pData, nSize);
    if (in.nRest > 0x0FFFFFFF)
        return 0;
    CID3v2 tag;
    tag.m_pHeader->m_nVersion = 2 + (in.nOptions & 3) % 3;
    tag.m_pHeader->m_bExtendedHeader = (in.nOptions & 0x04) != 0;
    tag.m_pHeader->m_nSize = static_cast<UINT>(in.nRest);
    tag.ParseFrames(in.pRest, static_cast<UINT>(in.nRest));
    Touch(tag);
    const std::vector<std::string> arrIDs = IDs(tag);
    // Reading again replaces the frames.
    tag.ParseFrames(in.pRest, static_cast<UINT>(in.nRest));
    Fuzz::Check(IDs(tag) == arrIDs, "parsing twice gives the same frames");
    RoundTrip(tag, static_cast<BYTE>(in.nOptions >> 3));
    return 0;
}
