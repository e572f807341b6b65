#include "tags/id3v2/frames/UnsynchronizedLyricsFrame.h"

#include "tags/id3v2/ID3v2FrameHeader.h"

namespace Tags::ID3v2Tag
{

CUnsynchronizedLyricsFrame::CUnsynchronizedLyricsFrame(const BYTE* pFrame, UINT nLength,
                                                       std::unique_ptr<CFrameHeader> pHeader)
    : CDescribedTextFrame(pFrame, nLength, std::move(pHeader))
{
}

CUnsynchronizedLyricsFrame::CUnsynchronizedLyricsFrame() : CDescribedTextFrame("USLT") {}

CUnsynchronizedLyricsFrame::~CUnsynchronizedLyricsFrame() = default;

std::unique_ptr<CFrame> CUnsynchronizedLyricsFrame::Clone() const
{
    auto pClone = std::make_unique<CUnsynchronizedLyricsFrame>();
    CopyFieldsTo(*pClone);
    return pClone;
}

} // namespace Tags::ID3v2Tag
