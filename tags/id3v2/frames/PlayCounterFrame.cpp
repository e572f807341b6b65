#include "tags/id3v2/frames/PlayCounterFrame.h"

#include "tags/id3v2/FrameFields.h"
#include "tags/id3v2/ID3v2FrameHeader.h"

namespace Tags::ID3v2Tag
{

CPlayCounterFrame::CPlayCounterFrame(const BYTE* pFrame, UINT nLength,
                                     std::unique_ptr<CFrameHeader> pHeader)
    : CFrame(pFrame, nLength, std::move(pHeader))
{
    ParseFrameBody(pFrame, nLength);
}

CPlayCounterFrame::CPlayCounterFrame() : CFrame("PCNT", 4) {}

CPlayCounterFrame::~CPlayCounterFrame() = default;

CString CPlayCounterFrame::GetText() const
{
    return FormatString(u"%u", m_nCounter);
}

std::unique_ptr<CFrame> CPlayCounterFrame::Clone() const
{
    auto pClone = std::make_unique<CPlayCounterFrame>();
    pClone->SetID(GetID());
    pClone->m_nCounter = m_nCounter;
    return pClone;
}

void CPlayCounterFrame::Parse(const BYTE* pData, UINT nLength)
{
    m_nCounter = pData != nullptr && nLength >= COUNTER_SIZE ? ReadCounter(pData, nLength) : 0;
}

void CPlayCounterFrame::Render(CRenderBuffer& buffer) const
{
    RenderCounter(buffer, m_nCounter);
}

} // namespace Tags::ID3v2Tag
