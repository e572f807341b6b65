// The 10-byte ID3v2 tag header: "ID3", major version, revision, flags and the sync-safe size of
// the tag body. Also the rules for the extended header and the footer that follow from it.
#pragma once

#include "base/Types.h"

namespace Tags
{
class CRenderBuffer;
} // namespace Tags

namespace Tags::ID3v2Tag
{

class CHeader
{
public:
    static constexpr UINT HEADER_SIZE = 10;
    static constexpr UINT FOOTER_SIZE = 10;

    static constexpr BYTE FLAG_UNSYNCHRONISATION = 0x80;
    static constexpr BYTE FLAG_EXTENDED_HEADER = 0x40;
    static constexpr BYTE FLAG_EXPERIMENTAL = 0x20;
    static constexpr BYTE FLAG_FOOTER = 0x10;

    CHeader() = default;
    virtual ~CHeader() = default;
    CHeader(const CHeader&) = default;
    CHeader& operator=(const CHeader&) = default;

    // TRUE when there are at least 10 bytes and they begin with "ID3".
    static BOOL IsHeader(const BYTE* pData, UINT nLength);

    // Reads a header from at least 10 bytes whose marker the caller has checked; with fewer,
    // nothing changes. Size bytes that are not sync-safe give size 0 and leave version and flags
    // as they were: the tag counts as present and empty.
    void Parse(const BYTE* pData, UINT nLength);

    // Appends "ID3", the version, revision 0, flags 0 and the size. Unsynchronisation, extended
    // header, experimental flag and footer are never written.
    void Render(CRenderBuffer& buffer) const;

    // Bytes the tag takes on disk: the header, the body and the footer when there is one.
    UINT GetTagLength() const;

    // Bytes at the start of the body taken by the extended header, never more than nBodyLength;
    // 0 when the header has no extended header. The frame area starts there. Version 3 stores a
    // plain 32-bit size that leaves out its own 4 bytes; the other versions a sync-safe size
    // that counts the whole extended header. When the flag is set but the body starts with a
    // frame ID instead, there is no extended header and the result is 0.
    UINT GetExtendedHeaderSize(const BYTE* pBody, UINT nBodyLength) const;

    // Major version: below 3 follows the 2.2 rules, 3 the 2.3 rules, 4 or more the 2.4 rules.
    int m_nVersion = 4;
    // Kept, never acted on.
    int m_nRevision = 0;
    // Size of the tag body: the bytes after this header, excluding the footer.
    UINT m_nSize = 0;
    BOOL m_bUnsynchronisation = FALSE;
    BOOL m_bExtendedHeader = FALSE;
    BOOL m_bExperimental = FALSE;
    BOOL m_bFooter = FALSE;
};

} // namespace Tags::ID3v2Tag
