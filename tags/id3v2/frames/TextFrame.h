// A text information frame: every T-frame other than TXXX, and IPLS. The body is an encoding
// byte followed by one or more terminated strings.
#pragma once

#include "tags/id3v2/ID3v2Frame.h"

#include <vector>

namespace Tags::ID3v2Tag
{

class CTextFrame : public CFrame
{
public:
    // From a frame read from a file: reads the body from the header's data offset.
    CTextFrame(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader);
    // A new frame with the ID (four characters) and version, encoding 0 and no values.
    CTextFrame(const char* szID, int nVersion);
    ~CTextFrame() override;

    // The values joined by "; ".
    CString GetText() const override;
    void SetTextEncoding(int nEncoding) override;
    // Same class and ID, the values and the encoding, a fresh header (version 4, no flags).
    std::unique_ptr<CFrame> Clone() const override;
    // A body of 0 or 1 bytes leaves no values and keeps the encoding.
    void Parse(const BYTE* pData, UINT nLength) override;
    // The encoding byte, then every value with its terminator (the last one too).
    void Render(CRenderBuffer& buffer) const override;
    const char* GetRuntimeClassName() const override;

    // Replaces the values by copies of the given ones.
    virtual void SetValues(const std::vector<CString>& values);

    // The text encoding byte: as read, until the tag sets its write encoding.
    int m_nEncoding = 0;
    // The frame's strings in order, empty ones included.
    std::vector<CString> m_values;

protected:
    // Copies the content into a clone of a derived class.
    void CopyContentTo(CTextFrame& clone) const;
};

// The values joined by "; ", from index nFirst on.
CString JoinValues(const std::vector<CString>& values, size_t nFirst = 0);

} // namespace Tags::ID3v2Tag
