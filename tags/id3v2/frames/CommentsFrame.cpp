#include "tags/id3v2/frames/CommentsFrame.h"

#include "tags/id3v2/ID3v2FrameHeader.h"

namespace Tags::ID3v2Tag
{

CCommentsFrame::CCommentsFrame(const BYTE* pFrame, UINT nLength,
                               std::unique_ptr<CFrameHeader> pHeader)
    : CDescribedTextFrame(pFrame, nLength, std::move(pHeader))
{
}

CCommentsFrame::CCommentsFrame() : CDescribedTextFrame("COMM") {}

CCommentsFrame::~CCommentsFrame() = default;

std::unique_ptr<CFrame> CCommentsFrame::Clone() const
{
    auto pClone = std::make_unique<CCommentsFrame>();
    CopyFieldsTo(*pClone);
    return pClone;
}

} // namespace Tags::ID3v2Tag
