#include "tags/id3v2/frames/CommentsFrame.h"

#include "tags/id3v2/ID3v2FrameHeader.h"

namespace Tags::ID3v2Tag
{

CCommentsFrame::CCommentsFrame(const BYTE* pFrame, UINT nLength,
                               std::unique_ptr<CFrameHeader> pHeader)
    : CFrame(pFrame, nLength, std::move(pHeader))
{
    ParseFrameBody(pFrame, nLength);
}

CCommentsFrame::CCommentsFrame() : CFrame("COMM", 4) {}

CCommentsFrame::~CCommentsFrame() = default;

CString CCommentsFrame::GetText() const
{
    return m_strText;
}

void CCommentsFrame::SetTextEncoding(int nEncoding)
{
    m_nEncoding = nEncoding;
}

std::unique_ptr<CFrame> CCommentsFrame::Clone() const
{
    auto pClone = std::make_unique<CCommentsFrame>();
    pClone->SetID(GetID());
    pClone->m_nEncoding = m_nEncoding;
    CopyLanguage(pClone->m_szLanguage, m_szLanguage);
    pClone->m_strDescription = m_strDescription;
    pClone->m_strText = m_strText;
    return pClone;
}

void CCommentsFrame::Parse(const BYTE* pData, UINT nLength)
{
    ParseDescribedText(pData, nLength, m_nEncoding, m_szLanguage, m_strDescription, m_strText);
}

void CCommentsFrame::Render(CRenderBuffer& buffer) const
{
    RenderDescribedText(buffer, m_nEncoding, m_szLanguage, m_strDescription, m_strText);
}

} // namespace Tags::ID3v2Tag
