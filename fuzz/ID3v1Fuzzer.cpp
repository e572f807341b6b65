// The ID3v1 reader over arbitrary bytes: Parse of a 128-byte block and Read of the bytes as a
// file. A parsed block renders to 128 bytes that parse to the same fields.
#include "FuzzInput.h"

#include "tags/file/RenderBuffer.h"
#include "tags/id3v1/ID3v1.h"

#include <cstring>

using namespace Tags;
using namespace Tags::ID3v1Tag;

namespace
{

bool SameFields(const CID3v1& a, const CID3v1& b)
{
    return a.GetTitle() == b.GetTitle() && a.GetArtist() == b.GetArtist() &&
           a.GetAlbum() == b.GetAlbum() && a.GetYear() == b.GetYear() &&
           a.GetComment() == b.GetComment() && a.GetTrack() == b.GetTrack() &&
           a.GetGenre() == b.GetGenre() && a.m_nGenre == b.m_nGenre && a.IsEmpty() == b.IsEmpty();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    // The block: the last 128 bytes of the input, or all of it padded with zeros.
    BYTE block[CID3v1::BLOCK_SIZE] = {};
    if (nSize >= CID3v1::BLOCK_SIZE)
        std::memcpy(block, pData + nSize - CID3v1::BLOCK_SIZE, CID3v1::BLOCK_SIZE);
    else if (nSize > 0)
        std::memcpy(block, pData, nSize);

    CID3v1 tag;
    tag.Parse(block);
    Fuzz::Check(tag.GetTitle().GetLength() <= CID3v1::MAX_FIELD_LENGTH, "title within its field");
    Fuzz::Check(tag.GetComment().GetLength() <= CID3v1::MAX_FIELD_LENGTH,
                "comment within its field");
    Fuzz::Check(tag.m_nTrack >= 0 && tag.m_nTrack <= 255, "track is a byte");

    CRenderBuffer buffer;
    tag.Render(buffer);
    Fuzz::Check(buffer.GetLength() == CID3v1::BLOCK_SIZE, "a block is 128 bytes");
    Fuzz::Check(std::memcmp(buffer.GetData(), "TAG", 3) == 0, "a block starts with TAG");
    CID3v1 again;
    again.Parse(buffer.GetData());
    Fuzz::Check(SameFields(tag, again), "a rendered block parses to the same fields");

    // The bytes as a file: found exactly when the file ends with a block.
    Fuzz::CMemoryFile file(pData, nSize);
    CID3v1 read;
    const BOOL bFound = read.Read(file);
    Fuzz::Check((bFound != FALSE) ==
                    (nSize >= CID3v1::BLOCK_SIZE && std::memcmp(block, "TAG", 3) == 0),
                "the block is found exactly when it is there");
    if (bFound)
        Fuzz::Check(SameFields(read, tag), "reading parses the last 128 bytes");
    return 0;
}
