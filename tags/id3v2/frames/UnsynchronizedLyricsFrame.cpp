#include "tags/id3v2/frames/UnsynchronizedLyricsFrame.h"

#include "tags/id3v2/ID3v2FrameHeader.h"

namespace Tags::ID3v2Tag
{

CUnsynchronizedLyricsFrame::CUnsynchronizedLyricsFrame(const BYTE* pFrame, UINT nLength,
                                                       std::unique_ptr<CFrameHeader> pHeader)
    : CFrame(pFrame, nLength, std::move(pHeader))
{
    ParseFrameBody(pFrame, nLength);
}

CUnsynchronizedLyricsFrame::CUnsynchronizedLyricsFrame() : CFrame("USLT", 4) {}

CUnsynchronizedLyricsFrame::~CUnsynchronizedLyricsFrame() = default;

CString CUnsynchronizedLyricsFrame::GetText() const
{
    return m_strText;
}

void CUnsynchronizedLyricsFrame::SetTextEncoding(int nEncoding)
{
    m_nEncoding = nEncoding;
}

std::unique_ptr<CFrame> CUnsynchronizedLyricsFrame::Clone() const
{
    auto pClone = std::make_unique<CUnsynchronizedLyricsFrame>();
    pClone->SetID(GetID());
    pClone->m_nEncoding = m_nEncoding;
    CopyLanguage(pClone->m_szLanguage, m_szLanguage);
    pClone->m_strDescription = m_strDescription;
    pClone->m_strText = m_strText;
    return pClone;
}

void CUnsynchronizedLyricsFrame::Parse(const BYTE* pData, UINT nLength)
{
    ParseDescribedText(pData, nLength, m_nEncoding, m_szLanguage, m_strDescription, m_strText);
}

void CUnsynchronizedLyricsFrame::Render(CRenderBuffer& buffer) const
{
    RenderDescribedText(buffer, m_nEncoding, m_szLanguage, m_strDescription, m_strText);
}

} // namespace Tags::ID3v2Tag
