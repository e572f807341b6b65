// The ID3v2 tag at the start of an MPEG audio file: a tag header and the frames in file order.
// Reads versions 2.2, 2.3 and 2.4, answers the basic fields, lets the editors add, find and
// delete frames, and renders the tag as 2.3 or 2.4.
#pragma once

#include "base/String.h"
#include "base/Types.h"
#include "tags/file/TagBase.h"
#include "tags/id3v2/FrameList.h"
#include "tags/id3v2/ID3v2Frame.h"
#include "tags/id3v2/ID3v2Header.h"

#include <climits>
#include <memory>

namespace Tags
{
class CFileEx;
class CRenderBuffer;
} // namespace Tags

namespace Tags::ID3v2Tag
{

class CID3v2 : public CTagBase
{
public:
    // Padding a tag gets when its frames no longer fit into its old size.
    static constexpr UINT PADDING_SIZE = 1024;
    // The text encoding of a new or freshly read tag: UTF-16, which both written versions
    // define and which holds any text. Callers that save set their own first.
    static constexpr int DEFAULT_TEXT_ENCODING = 1;

    // A new header (version 4, size 0, no flags), no frames, valid.
    CID3v2();
    ~CID3v2() override;
    CID3v2(const CID3v2&) = delete;
    CID3v2& operator=(const CID3v2&) = delete;

    // Each answered from the first frame with the ID, through its GetText; empty when there is
    // none. Title TIT2, album TALB, artist TPE1, comment COMM (its text), genre TCON (the values
    // joined by "; "). The year is TDRC in a 2.4 tag, else TYER, and TYER when there is no TDRC.
    CString GetTitle() const override;
    CString GetAlbum() const override;
    CString GetArtist() const override;
    CString GetYear() const override;
    CString GetComment() const override;
    // The leading decimal number of TRCK ("5/12" gives 5), read as GetLeadingInteger does; 0
    // when there is none or it is negative.
    int GetTrack() const override;
    CString GetGenre() const override;
    // TRUE when the tag holds no frame.
    BOOL IsEmpty() const override;

    // Appends a frame, which the tag then owns; returns it.
    CFrame* AddTail(std::unique_ptr<CFrame> pFrame);
    // The first frame whose ID equals szID exactly, or NULL.
    CFrame* FindFrame(const char* szID) const;
    // Deletes the frame when it is in the list; FALSE when it is not.
    BOOL DeleteFrame(CFrame* pFrame);
    // Deletes the first frame with the ID; FALSE when there is none.
    BOOL DeleteFrameByID(const char* szID);
    // Deletes every frame with the ID in one pass over the list (calling DeleteFrameByID until
    // it fails starts from the front each time); the other frames keep their order. Returns how
    // many were deleted.
    int DeleteFramesByID(const char* szID);

    // Reads the tag at the start of the file. TRUE when the file begins with an ID3v2 header;
    // the frames are whatever could be read. Never reads or allocates more than the file holds.
    // A tag said to run past the end of the file (a truncated copy) keeps its declared size but
    // holds the frames that fit whole within the bytes there are, ends with them (or with the
    // file when only padding follows), and is not valid. File errors are raised as
    // CFileException.
    BOOL Read(CFileEx& file);
    // Bytes the tag read takes at the start of the file: the header's tag length, or less when
    // the file ends before that (see Read). After a render, the length rendered.
    UINT GetLengthInFile() const;
    // Builds the frame list from a tag body of nLength bytes (after the tag header; decoded when
    // the whole tag was unsynchronised), replacing the frames held. Stops at the padding, at a
    // frame that does not fit or has an invalid ID; a body too short for a frame header also
    // clears m_bValid. A frame whose header declares size 0 is left out and clears m_bValid; the
    // list goes on after its header (a 2.3 header with undefined flag bits ends it). A 2.4 frame
    // whose size was written as a plain integer is read with that size. Returns where reading
    // stopped: the end of the last frame read (or of the extended header).
    UINT ParseFrames(const BYTE* pData, UINT nLength);
    // Appends the whole tag: header, frames, padding. Converts the frames to the header's
    // version first: 2.3 when it is 3, 2.4 otherwise (a tag of any other version is written as
    // 2.4 and its header says so). Every frame is written in m_nTextEncoding. Frames with an
    // empty body, and frames whose ID is not four characters (ID3v2.2 frames without a later
    // equivalent), stay in the list but are left out. The padding keeps the size the header
    // holds when the frames fit with a byte to spare, else it is PADDING_SIZE bytes; the header
    // then holds the new size and no flags.
    void Render(CRenderBuffer& buffer);
    void ConvertToV23();
    void ConvertToV24();

    // Reads one frame of the frame area: at pData, nRemaining bytes left in the area, from a tag
    // of version nVersion. NULL when it does not fit or its ID is invalid.
    std::unique_ptr<CFrame> CreateFrame(const BYTE* pData, UINT nRemaining, int nVersion) const;

    // The size of the 2.4 frame header at pData + nPos (sync-safe size nSyncSafeSize, nLength
    // bytes in the area) as its writer meant it: the plain reading of its size bytes when only
    // that one ends at a frame boundary, else nSyncSafeSize.
    static UINT GetPlainV24FrameSize(const BYTE* pData, UINT nLength, UINT nPos,
                                     UINT nSyncSafeSize);

    // The tag header; owned. Its version selects the rendering (3 or 4, set by the editors).
    std::unique_ptr<CHeader> m_pHeader;
    // The frames in file order; owned.
    CFrameList m_frames;
    // TRUE unless reading stopped at a frame that proved the frame list incomplete, or the file
    // ended before the tag's frames did.
    BOOL m_bValid = TRUE;
    // The encoding every frame is set to just before rendering.
    int m_nTextEncoding = DEFAULT_TEXT_ENCODING;

private:
    CString GetFrameText(const char* szID) const;
    // Builds the frames from the nLength body bytes as read (decoding them first when the whole
    // tag was unsynchronised); returns where the tag ends in those bytes: after its last frame,
    // or at their end when only zeros follow.
    UINT ParseBody(const BYTE* pBody, UINT nLength);

    // The body bytes the tag takes in the file when that ends before the size claimed; else
    // UINT_MAX: the header's size holds. It is also the most the padding may make of the old
    // size, so a save never pads to bytes that were not there.
    UINT m_nBodyInFile = UINT_MAX;
};

} // namespace Tags::ID3v2Tag
