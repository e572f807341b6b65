// The user-defined text frame TXXX: its first value is the description, the rest is the text.
#pragma once

#include "tags/id3v2/frames/TextFrame.h"

namespace Tags::ID3v2Tag
{

class CUserTextFrame : public CTextFrame
{
public:
    CUserTextFrame(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader);
    // A new frame: ID "TXXX", version 4, no values.
    CUserTextFrame();
    ~CUserTextFrame() override;

    // "[description] " followed by the values after the description joined by "; ".
    CString GetText() const override;
    std::unique_ptr<CFrame> Clone() const override;
    const char* GetRuntimeClassName() const override;

    // The first value, or an empty string.
    CString GetDescription() const;
};

} // namespace Tags::ID3v2Tag
