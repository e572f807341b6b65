// The play counter frame (PCNT): how often the file has been played.
#pragma once

#include "tags/id3v2/ID3v2Frame.h"

namespace Tags::ID3v2Tag
{

class CPlayCounterFrame : public CFrame
{
public:
    // A frame read from a tag: pFrame holds nLength bytes, header included.
    CPlayCounterFrame(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader);
    // A new "PCNT" frame (version 4) with counter 0.
    CPlayCounterFrame();
    ~CPlayCounterFrame() override;

    // The counter in decimal.
    CString GetText() const override;
    std::unique_ptr<CFrame> Clone() const override;
    // The counter, big-endian; 0 for a body shorter than 4 bytes.
    void Parse(const BYTE* pData, UINT nLength) override;
    // The counter as 4 bytes.
    void Render(CRenderBuffer& buffer) const override;
    const char* GetRuntimeClassName() const override { return "CPlayCounterFrame"; }

    UINT m_nCounter = 0;
};

} // namespace Tags::ID3v2Tag
