#include "tags/id3v2/frames/PopularimeterFrame.h"

#include "tags/file/RenderBuffer.h"
#include "tags/id3v2/FrameFields.h"
#include "tags/id3v2/ID3v2FrameHeader.h"
#include "tags/id3v2/ID3v2Strings.h"

#include <algorithm>

namespace Tags::ID3v2Tag
{

CPopularimeterFrame::CPopularimeterFrame(const BYTE* pFrame, UINT nLength,
                                         std::unique_ptr<CFrameHeader> pHeader)
    : CFrame(pFrame, nLength, std::move(pHeader))
{
    ParseFrameBody(pFrame, nLength);
}

CPopularimeterFrame::CPopularimeterFrame() : CFrame("POPM", 4) {}

CPopularimeterFrame::~CPopularimeterFrame() = default;

CString CPopularimeterFrame::GetText() const
{
    return FormatString(u"%s [Rating: %d Counter: %u]", m_strEmail, m_nRating, m_nCounter);
}

std::unique_ptr<CFrame> CPopularimeterFrame::Clone() const
{
    auto pClone = std::make_unique<CPopularimeterFrame>();
    pClone->SetID(GetID());
    pClone->m_strEmail = m_strEmail;
    pClone->m_nRating = m_nRating;
    pClone->m_nCounter = m_nCounter;
    return pClone;
}

void CPopularimeterFrame::Parse(const BYTE* pData, UINT nLength)
{
    m_nRating = 0;
    m_nCounter = 0;
    if (pData == nullptr)
    {
        m_strEmail.Empty();
        return;
    }
    UINT nOffset = DecodeTerminatedString(pData, nLength, m_strEmail, TEXT_ENCODING_ANSI);
    if (nOffset < nLength)
    {
        m_nRating = pData[nOffset];
        ++nOffset;
    }
    if (nLength - nOffset >= COUNTER_SIZE)
    {
        m_nCounter = ReadCounter(pData + nOffset, nLength - nOffset);
    }
}

void CPopularimeterFrame::Render(CRenderBuffer& buffer) const
{
    EncodeString(buffer, m_strEmail, TEXT_ENCODING_ANSI);
    buffer.AppendByte(static_cast<BYTE>(std::clamp(m_nRating, 0, 255)));
    RenderCounter(buffer, m_nCounter);
}

} // namespace Tags::ID3v2Tag
