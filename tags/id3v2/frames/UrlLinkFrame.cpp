#include "tags/id3v2/frames/UrlLinkFrame.h"

#include "tags/id3v2/ID3v2FrameHeader.h"
#include "tags/id3v2/ID3v2Strings.h"

namespace Tags::ID3v2Tag
{

CUrlLinkFrame::CUrlLinkFrame(const BYTE* pFrame, UINT nLength,
                             std::unique_ptr<CFrameHeader> pHeader)
    : CFrame(pFrame, nLength, std::move(pHeader))
{
    ParseFrameBody(pFrame, nLength);
}

CUrlLinkFrame::CUrlLinkFrame(const BYTE* pFrame, UINT nLength,
                             std::unique_ptr<CFrameHeader> pHeader, BodyLayout /*layout*/)
    : CFrame(pFrame, nLength, std::move(pHeader))
{
}

CUrlLinkFrame::CUrlLinkFrame(const char* szID, int nVersion) : CFrame(szID, nVersion) {}

CUrlLinkFrame::~CUrlLinkFrame() = default;

CString CUrlLinkFrame::GetText() const
{
    return m_strUrl;
}

std::unique_ptr<CFrame> CUrlLinkFrame::Clone() const
{
    auto pClone = std::make_unique<CUrlLinkFrame>(GetID(), 4);
    pClone->m_strUrl = m_strUrl;
    return pClone;
}

void CUrlLinkFrame::Parse(const BYTE* pData, UINT nLength)
{
    DecodeString(pData, nLength, m_strUrl, TEXT_ENCODING_ANSI);
}

void CUrlLinkFrame::Render(CRenderBuffer& buffer) const
{
    EncodeString(buffer, m_strUrl, TEXT_ENCODING_ANSI);
}

} // namespace Tags::ID3v2Tag
