#include "editor/TagWriting.h"

#include "tags/file/MpegFile.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/ID3v2Strings.h"

#include <exception>

using namespace Tags;
using Tags::ID3v2Tag::CID3v2;

namespace
{

BOOL CanWriteEncoding(int nEncoding, int nVersion)
{
    using namespace Tags::ID3v2Tag;
    if (nEncoding == TEXT_ENCODING_ANSI || nEncoding == TEXT_ENCODING_UTF16)
        return TRUE;
    // The tag renders every version but 3 as 2.4, which knows UTF-8.
    return nEncoding == TEXT_ENCODING_UTF8 && nVersion != 3;
}

} // namespace

UINT GetWriteTagFlags(BOOL bWriteID3v1, BOOL bWriteID3v2)
{
    return (bWriteID3v2 ? TAG_ID3V2 : 0) | (bWriteID3v1 ? TAG_ID3V1 : 0);
}

UINT GetRemoveTagFlags(BOOL bRemoveID3v1, BOOL bRemoveID3v2)
{
    return (bRemoveID3v2 ? TAG_ID3V2 : 0) | (bRemoveID3v1 ? TAG_ID3V1 : 0);
}

void PrepareID3v2ForWriting(CID3v2& tag, int nWriteVersion, int nTextEncoding)
{
    if (nWriteVersion == 3 || nWriteVersion == 4)
        tag.m_pHeader->m_nVersion = nWriteVersion;
    tag.m_nTextEncoding = CanWriteEncoding(nTextEncoding, tag.m_pHeader->m_nVersion)
                              ? nTextEncoding
                              : ID3v2Tag::TEXT_ENCODING_UTF16;
}

BOOL TrySaveTags(CMpegFile& file, UINT nFlags)
{
    try
    {
        return file.SaveTags(nFlags);
    }
    catch (const std::exception&)
    {
        // CFileException and std::bad_alloc above all; the container has undone its step.
        return FALSE;
    }
}

BOOL TryRemoveTags(CMpegFile& file, UINT nFlags)
{
    try
    {
        return file.RemoveTags(nFlags);
    }
    catch (const std::exception&)
    {
        // CFileException and std::bad_alloc above all; the container has undone its step.
        return FALSE;
    }
}

BOOL WriteFileTags(CMpegFile& file, BOOL bWriteID3v1, BOOL bWriteID3v2, int nWriteVersion,
                   int nTextEncoding)
{
    if (CID3v2* pTag = file.GetID3v2(FALSE))
        PrepareID3v2ForWriting(*pTag, nWriteVersion, nTextEncoding);
    return TrySaveTags(file, GetWriteTagFlags(bWriteID3v1, bWriteID3v2));
}
