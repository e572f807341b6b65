// The unsynchronised lyrics frame (USLT): the lyrics of the track, with a short description and a
// language.
#pragma once

#include "tags/id3v2/frames/DescribedTextFrame.h"

namespace Tags::ID3v2Tag
{

class CUnsynchronizedLyricsFrame : public CDescribedTextFrame
{
public:
    // A frame read from a tag: pFrame holds nLength bytes, header included.
    CUnsynchronizedLyricsFrame(const BYTE* pFrame, UINT nLength,
                               std::unique_ptr<CFrameHeader> pHeader);
    // A new "USLT" frame (version 4): encoding 0, language "ENG", no description, no lyrics.
    CUnsynchronizedLyricsFrame();
    ~CUnsynchronizedLyricsFrame() override;

    std::unique_ptr<CFrame> Clone() const override;
    const char* GetRuntimeClassName() const override { return "CUnsynchronizedLyricsFrame"; }
};

} // namespace Tags::ID3v2Tag
