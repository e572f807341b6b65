// The URL link frames (every ID beginning with W but WXXX): one URL in encoding 0.
#pragma once

#include "tags/id3v2/ID3v2Frame.h"

namespace Tags::ID3v2Tag
{

class CUrlLinkFrame : public CFrame
{
public:
    // A frame read from a tag: pFrame holds nLength bytes, header included.
    CUrlLinkFrame(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader);
    // A new frame with this ID and version and no URL.
    CUrlLinkFrame(const char* szID, int nVersion);
    ~CUrlLinkFrame() override;

    // The URL.
    CString GetText() const override;
    // Keeps the ID.
    std::unique_ptr<CFrame> Clone() const override;
    // The whole body is the URL.
    void Parse(const BYTE* pData, UINT nLength) override;
    // The URL with its zero byte.
    void Render(CRenderBuffer& buffer) const override;
    const char* GetRuntimeClassName() const override { return "CUrlLinkFrame"; }

    CString m_strUrl;

protected:
    // Takes the header without reading the body, for a class that reads another layout.
    enum class BodyLayout
    {
        Other
    };
    CUrlLinkFrame(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader,
                  BodyLayout layout);
};

} // namespace Tags::ID3v2Tag
