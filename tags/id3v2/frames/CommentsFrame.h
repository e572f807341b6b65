// The comments frame (COMM): a comment with a short description and a language.
#pragma once

#include "tags/id3v2/frames/DescribedTextFrame.h"

namespace Tags::ID3v2Tag
{

class CCommentsFrame : public CDescribedTextFrame
{
public:
    // A frame read from a tag: pFrame holds nLength bytes, header included.
    CCommentsFrame(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader);
    // A new "COMM" frame (version 4): encoding 0, language "ENG", no description, no comment.
    CCommentsFrame();
    ~CCommentsFrame() override;

    std::unique_ptr<CFrame> Clone() const override;
    const char* GetRuntimeClassName() const override { return "CCommentsFrame"; }
};

} // namespace Tags::ID3v2Tag
