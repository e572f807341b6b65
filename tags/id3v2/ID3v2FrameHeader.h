// The header of one ID3v2 frame: 6 bytes in version 2.2 (ID, 24-bit size), 10 bytes in 2.3 and
// 2.4 (ID, size, status and format flags), followed in 2.3 and 2.4 by the extra bytes that some
// format flags call for (decompressed size or data length, encryption method, group symbol).
// The flags are held as version-independent members and placed at a version's bit positions
// when rendered.
#pragma once

#include "base/Types.h"

namespace Tags
{
class CRenderBuffer;
} // namespace Tags

namespace Tags::ID3v2Tag
{

class CFrameHeader
{
public:
    static constexpr UINT HEADER_SIZE_V22 = 6;
    static constexpr UINT HEADER_SIZE = 10;

    // Flag bits as the two flag bytes are read: status byte high, format byte low.
    static constexpr WORD V23_TAG_ALTER_PRESERVATION = 0x8000;
    static constexpr WORD V23_FILE_ALTER_PRESERVATION = 0x4000;
    static constexpr WORD V23_READ_ONLY = 0x2000;
    static constexpr WORD V23_COMPRESSION = 0x0080;
    static constexpr WORD V23_ENCRYPTION = 0x0040;
    static constexpr WORD V23_GROUPING_IDENTITY = 0x0020;
    // Bits 2.3 does not define; a header that sets any of them is unusable.
    static constexpr WORD V23_UNDEFINED = 0x1F1F;

    static constexpr WORD V24_TAG_ALTER_PRESERVATION = 0x4000;
    static constexpr WORD V24_FILE_ALTER_PRESERVATION = 0x2000;
    static constexpr WORD V24_READ_ONLY = 0x1000;
    static constexpr WORD V24_GROUPING_IDENTITY = 0x0040;
    static constexpr WORD V24_COMPRESSION = 0x0008;
    static constexpr WORD V24_ENCRYPTION = 0x0004;
    static constexpr WORD V24_UNSYNCHRONISATION = 0x0002;
    static constexpr WORD V24_DATA_LENGTH_INDICATOR = 0x0001;

    // pData is either the bytes of a frame header read from a tag (nLength: the bytes available
    // from there, the frame's body included when present) or just a frame ID (nLength 3 or 4)
    // for a frame the program creates, whose size stays 0. Size 0 marks a header that cannot be
    // used. The extra bytes after a 2.3/2.4 header are read when the frame holds them.
    CFrameHeader(const BYTE* pData, UINT nLength, int nVersion);
    // A header for a new frame: the ID (up to 4 characters are taken), size 0, no flags.
    CFrameHeader(const char* pszID, int nVersion);
    virtual ~CFrameHeader() = default;
    CFrameHeader(const CFrameHeader&) = default;
    CFrameHeader& operator=(const CFrameHeader&) = default;

    // 6 below version 3, else 10.
    static UINT GetHeaderSize(int nVersion);
    UINT GetHeaderSize() const { return GetHeaderSize(m_nVersion); }

    // Replaces the ID by the first 4 characters of pszID (3 for a 2.2 ID).
    void SetID(const char* pszID);

    // TRUE when compression, encryption or grouping is set: the body cannot be interpreted and
    // the frame is to be held raw, its data written back as read.
    BOOL IsRawFormat() const;

    // Bytes between the header and the frame data that the flags call for, in the layout of
    // m_nVersion. 2.3: decompressed size (4, compression), encryption method (1), group symbol
    // (1). 2.4: group symbol (1), encryption method (1), data length (4, data length indicator
    // or compression, which requires one). None below 2.3.
    UINT GetExtrasSize() const;

    // Offset of the frame data from the start of the header: the header and its extra bytes.
    UINT GetDataOffset() const;

    // Reads the extra bytes from a frame's bytes (header included; nLength bytes). Called by the
    // constructor; call it again on a copy whose body was unsynchronisation-decoded. FALSE, with
    // the extra members unchanged, when the frame is too short to hold them.
    BOOL ParseExtras(const BYTE* pFrame, UINT nLength);

    // The flags at the bit positions of nVersion (status byte high, format byte low), every
    // flag that version defines; 0 below version 3.
    WORD GetFlags(int nVersion) const;
    // The flags Render writes at m_nVersion: none for an ordinary frame, since its body is
    // written afresh; for a raw frame compression, encryption and grouping, and in 2.4 the data
    // length indicator with its bytes. Unsynchronisation and the status flags are never written.
    WORD GetRenderFlags() const;

    // Appends 10 bytes: the 4 ID bytes, m_nSize (plain 32-bit in version 3 and below, sync-safe
    // in 4 and above) and GetRenderFlags(). m_nSize counts every byte after the header, the
    // extra bytes of a raw frame included.
    void Render(CRenderBuffer& buffer) const;
    // Appends the extra bytes of a raw frame in the layout of m_nVersion (nothing for an
    // ordinary frame), to be placed between the header and the raw data.
    void RenderExtras(CRenderBuffer& buffer) const;

    // The ID, 3 or 4 characters, zero-terminated.
    char m_szID[5] = {};
    // Bytes after this header as declared.
    UINT m_nSize = 0;
    // Version of the tag the frame was read from or will be written to.
    int m_nVersion = 4;
    BOOL m_bTagAlterPreservation = FALSE;
    BOOL m_bFileAlterPreservation = FALSE;
    BOOL m_bFrameReadOnly = FALSE;
    BOOL m_bCompression = FALSE;
    BOOL m_bEncryption = FALSE;
    BOOL m_bGroupingIdentity = FALSE;
    BOOL m_bUnsynchronisation = FALSE;
    BOOL m_bDataLengthIndicator = FALSE;

    // The extra bytes, valid with their flags: the decompressed size (2.3 compression) or data
    // length (2.4), the encryption method and the group symbol.
    UINT m_nDataLength = 0;
    BYTE m_nEncryptionMethod = 0;
    BYTE m_nGroupSymbol = 0;

private:
    void SetFlags(WORD nFlags, int nVersion);
    BOOL HasDataLengthBytes() const;
};

} // namespace Tags::ID3v2Tag
