// The base of every ID3v2 frame: a frame header (owned) and the virtual interface through which
// the tag reads, edits and renders frames whatever their layout.
#pragma once

#include "base/String.h"
#include "base/Types.h"
#include "tags/id3v2/ID3v2FrameHeader.h"

#include <memory>

namespace Tags
{
class CRenderBuffer;
} // namespace Tags

namespace Tags::ID3v2Tag
{

class CFrame
{
public:
    // Deletes the header.
    virtual ~CFrame();

    // One-line text the editors show for the frame.
    virtual CString GetText() const = 0;
    // The encoding the frame's text is to be written in; does nothing for frames without text.
    virtual void SetTextEncoding(int nEncoding);
    // A new frame of the same class and ID with the same content and a fresh header (version 4,
    // no flags).
    virtual std::unique_ptr<CFrame> Clone() const = 0;
    // Replaces the content by the one in the body; does nothing by default.
    virtual void Parse(const BYTE* pData, UINT nLength);
    // Appends the frame body (not its header) to the buffer.
    virtual void Render(CRenderBuffer& buffer) const = 0;

    // The class name, for diagnostics and tools ("CTextFrame", ...).
    virtual const char* GetRuntimeClassName() const = 0;

    // The header's ID: three characters for a 2.2 frame that kept its ID, otherwise four.
    const char* GetID() const;
    // Renames the frame in place (up to four characters are taken; the header's SetID).
    void SetID(const char* szID);

    CFrame(const CFrame&) = delete;
    CFrame& operator=(const CFrame&) = delete;

    std::unique_ptr<CFrameHeader> m_pHeader;

protected:
    // A frame read from a file: the frame's bytes (header included) and its parsed header, which
    // the frame takes over. The bytes are not kept; since a base constructor cannot reach the
    // derived Parse, each class's constructor reads its body itself (ParseFrameBody).
    CFrame(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader);
    // A new frame: a fresh header with the ID (three or four characters) and version, size 0,
    // no flags.
    CFrame(const char* szID, int nVersion);

    // Where the body starts in nLength bytes of a frame read from a file (header included): the
    // header's data offset, never beyond nLength.
    UINT GetBodyOffset(UINT nLength) const;
    // Calls Parse with the body of nLength frame bytes (from GetBodyOffset to the end). Called
    // from a constructor, it reaches the Parse of the class being constructed.
    void ParseFrameBody(const BYTE* pFrame, UINT nLength);
};

} // namespace Tags::ID3v2Tag
