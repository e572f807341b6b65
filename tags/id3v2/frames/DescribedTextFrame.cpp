#include "tags/id3v2/frames/DescribedTextFrame.h"

#include "tags/id3v2/ID3v2FrameHeader.h"

namespace Tags::ID3v2Tag
{

CDescribedTextFrame::CDescribedTextFrame(const BYTE* pFrame, UINT nLength,
                                         std::unique_ptr<CFrameHeader> pHeader)
    : CFrame(pFrame, nLength, std::move(pHeader))
{
    ParseFrameBody(pFrame, nLength);
}

CDescribedTextFrame::CDescribedTextFrame(const char* szID) : CFrame(szID, 4) {}

CDescribedTextFrame::~CDescribedTextFrame() = default;

CString CDescribedTextFrame::GetText() const
{
    return m_strText;
}

void CDescribedTextFrame::SetTextEncoding(int nEncoding)
{
    m_nEncoding = nEncoding;
}

void CDescribedTextFrame::CopyFieldsTo(CDescribedTextFrame& clone) const
{
    clone.SetID(GetID());
    clone.m_nEncoding = m_nEncoding;
    CopyLanguage(clone.m_szLanguage, m_szLanguage);
    clone.m_strDescription = m_strDescription;
    clone.m_strText = m_strText;
}

void CDescribedTextFrame::Parse(const BYTE* pData, UINT nLength)
{
    ParseDescribedText(pData, nLength, m_nEncoding, m_szLanguage, m_strDescription, m_strText);
}

void CDescribedTextFrame::Render(CRenderBuffer& buffer) const
{
    RenderDescribedText(buffer, m_nEncoding, m_szLanguage, m_strDescription, m_strText);
}

} // namespace Tags::ID3v2Tag
