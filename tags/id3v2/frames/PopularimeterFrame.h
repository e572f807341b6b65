// The popularimeter frame (POPM): a user's e-mail address, the rating that user gave and a play
// counter.
#pragma once

#include "tags/id3v2/ID3v2Frame.h"

namespace Tags::ID3v2Tag
{

class CPopularimeterFrame : public CFrame
{
public:
    // A frame read from a tag: pFrame holds nLength bytes, header included.
    CPopularimeterFrame(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader);
    // A new "POPM" frame (version 4): no e-mail address, rating 0, counter 0.
    CPopularimeterFrame();
    ~CPopularimeterFrame() override;

    // "e-mail [Rating: r Counter: c]".
    CString GetText() const override;
    std::unique_ptr<CFrame> Clone() const override;
    // E-mail address up to its zero byte, rating byte, counter. Rating and counter are 0 when
    // the body ends before them.
    void Parse(const BYTE* pData, UINT nLength) override;
    // E-mail address with its zero byte, rating byte, counter as 4 bytes: always all three.
    void Render(CRenderBuffer& buffer) const override;
    const char* GetRuntimeClassName() const override { return "CPopularimeterFrame"; }

    CString m_strEmail;
    // 0 to 255; values outside are written as the nearest of them.
    int m_nRating = 0;
    UINT m_nCounter = 0;
};

} // namespace Tags::ID3v2Tag
