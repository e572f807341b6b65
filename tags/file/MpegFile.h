// CMpegFile: the audio file container. Every operation that touches an audio file opens one: it
// holds the file (exclusively when it can), reads the ID3v2 tag at its start, the ID3v1 block at
// its end and optionally the MPEG audio properties between them, and writes or removes tags.
#pragma once

#include "tags/file/FileEx.h"

#include <memory>
#include <vector>

namespace Tags
{

namespace ID3v1Tag
{
class CID3v1;
}
namespace ID3v2Tag
{
class CID3v2;
}
class CMpegProperties;
class CAudioProperties;

inline constexpr UINT TAG_ID3V1 = 1;
inline constexpr UINT TAG_ID3V2 = 2;

class CMpegFile : public CFileEx
{
public:
    // Opens the file (exclusive, else read-only) and reads its tags; a failed open shows only in
    // m_hFile. Never throws for bad tag data or a read error.
    CMpegFile(const CString& strPath, BOOL bReadProperties);
    ~CMpegFile() override;

    CMpegFile(const CMpegFile&) = delete;
    CMpegFile& operator=(const CMpegFile&) = delete;

    ID3v1Tag::CID3v1* GetID3v1(BOOL bCreate);
    ID3v2Tag::CID3v2* GetID3v2(BOOL bCreate);
    CAudioProperties* GetAudioProperties();

    // Write or remove the tags selected by nFlags (TAG_ID3V1, TAG_ID3V2). FALSE when no file is
    // open, it is open read-only, it lies outside the 32-bit model, or the ID3v2 tag on disk
    // runs into the ID3v1 block. A tag cut short by the end of the file is replaced or removed
    // as far as it is there: up to the end of its last whole frame. A failing write throws
    // CFileException and leaves the file as it was; so does a path that no longer leads to the
    // file opened (deleted, replaced, its folder removed), before anything is written.
    BOOL SaveTags(UINT nFlags);
    BOOL RemoveTags(UINT nFlags);

    BOOL HasID3v1() const { return m_bHasID3v1; }
    BOOL HasID3v2() const { return m_bHasID3v2; }
    UINT GetID3v2Size() const { return m_nID3v2Size; }

private:
    void ReadTags(BOOL bReadProperties);
    // After an ID3v2 tag could not be read: no tag, and no writes that would go over it.
    void ForgetUnreadableID3v2();
    // Whether writes may run: open, writable and within the model.
    BOOL CanWrite() const;
    // An ID3v2 tag that runs into the ID3v1 block (or past the end of the file): replacing or
    // removing it would take the block with it.
    BOOL IsID3v2Overlong() const;
    // Each step for one tag; the callers have checked that the step may run.
    void RemoveID3v2();
    void RemoveID3v1();
    void WriteID3v1();
    // After a save: the ID3v2 tag on disk is nLength bytes long, or there is none (and no
    // object either).
    void SetID3v2Written(BOOL bWritten, UINT nLength);
    using Bytes = std::vector<BYTE>;
    Bytes ReadHead(UINT nLength);

    UINT m_nID3v2Size = 0;
    BOOL m_bHasID3v1 = FALSE;
    BOOL m_bHasID3v2 = FALSE;
    std::unique_ptr<ID3v1Tag::CID3v1> m_pID3v1;
    std::unique_ptr<ID3v2Tag::CID3v2> m_pID3v2;
    std::unique_ptr<CMpegProperties> m_pProperties;
};

} // namespace Tags
