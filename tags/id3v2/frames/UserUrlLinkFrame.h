// The user URL link frame (WXXX): a URL with a description.
#pragma once

#include "tags/id3v2/frames/UrlLinkFrame.h"

namespace Tags::ID3v2Tag
{

class CUserUrlLinkFrame : public CUrlLinkFrame
{
public:
    // A frame read from a tag: pFrame holds nLength bytes, header included.
    CUserUrlLinkFrame(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader);
    // A new "WXXX" frame (version 4): encoding 0, no description, no URL.
    CUserUrlLinkFrame();
    ~CUserUrlLinkFrame() override;

    // "[description] URL", or only the URL when there is no description.
    CString GetText() const override;
    // The encoding of the description; the URL is always written in encoding 0.
    void SetTextEncoding(int nEncoding) override;
    std::unique_ptr<CFrame> Clone() const override;
    // Encoding byte, description, then the URL up to the end. Bodies shorter than 2 bytes leave
    // the frame as it is.
    void Parse(const BYTE* pData, UINT nLength) override;
    // Encoding byte, description with its terminator, URL with its zero byte.
    void Render(CRenderBuffer& buffer) const override;
    const char* GetRuntimeClassName() const override { return "CUserUrlLinkFrame"; }

    int m_nEncoding = 0;
    CString m_strDescription;
};

} // namespace Tags::ID3v2Tag
