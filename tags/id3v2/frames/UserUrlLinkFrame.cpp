#include "tags/id3v2/frames/UserUrlLinkFrame.h"

#include "tags/file/RenderBuffer.h"
#include "tags/id3v2/FrameFields.h"
#include "tags/id3v2/ID3v2FrameHeader.h"
#include "tags/id3v2/ID3v2Strings.h"

namespace Tags::ID3v2Tag
{

CUserUrlLinkFrame::CUserUrlLinkFrame(const BYTE* pFrame, UINT nLength,
                                     std::unique_ptr<CFrameHeader> pHeader)
    : CUrlLinkFrame(pFrame, nLength, std::move(pHeader), BodyLayout::Other)
{
    ParseFrameBody(pFrame, nLength);
}

CUserUrlLinkFrame::CUserUrlLinkFrame() : CUrlLinkFrame("WXXX", 4) {}

CUserUrlLinkFrame::~CUserUrlLinkFrame() = default;

CString CUserUrlLinkFrame::GetText() const
{
    if (m_strDescription.IsEmpty())
    {
        return m_strUrl;
    }
    return u"[" + m_strDescription + u"] " + m_strUrl;
}

void CUserUrlLinkFrame::SetTextEncoding(int nEncoding)
{
    m_nEncoding = nEncoding;
}

std::unique_ptr<CFrame> CUserUrlLinkFrame::Clone() const
{
    auto pClone = std::make_unique<CUserUrlLinkFrame>();
    pClone->SetID(GetID());
    pClone->m_strUrl = m_strUrl;
    pClone->m_nEncoding = m_nEncoding;
    pClone->m_strDescription = m_strDescription;
    return pClone;
}

void CUserUrlLinkFrame::Parse(const BYTE* pData, UINT nLength)
{
    if (pData == nullptr || nLength < 2)
    {
        return;
    }
    m_nEncoding = pData[0];
    const UINT nOffset =
        1 + DecodeTerminatedString(pData + 1, nLength - 1, m_strDescription, m_nEncoding);
    DecodeString(pData + nOffset, nLength - nOffset, m_strUrl, TEXT_ENCODING_ANSI);
}

void CUserUrlLinkFrame::Render(CRenderBuffer& buffer) const
{
    const int nEncoding = GetRenderEncoding(m_nEncoding);
    buffer.AppendByte(static_cast<BYTE>(nEncoding));
    EncodeString(buffer, m_strDescription, nEncoding);
    EncodeString(buffer, m_strUrl, TEXT_ENCODING_ANSI);
}

} // namespace Tags::ID3v2Tag
