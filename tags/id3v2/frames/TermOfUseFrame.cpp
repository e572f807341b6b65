#include "tags/id3v2/frames/TermOfUseFrame.h"

#include "tags/file/RenderBuffer.h"
#include "tags/id3v2/ID3v2FrameHeader.h"
#include "tags/id3v2/ID3v2Strings.h"

namespace Tags::ID3v2Tag
{

CTermOfUseFrame::CTermOfUseFrame(const BYTE* pFrame, UINT nLength,
                                 std::unique_ptr<CFrameHeader> pHeader)
    : CFrame(pFrame, nLength, std::move(pHeader))
{
    ParseFrameBody(pFrame, nLength);
}

CTermOfUseFrame::CTermOfUseFrame() : CFrame("USER", 4) {}

CTermOfUseFrame::~CTermOfUseFrame() = default;

CString CTermOfUseFrame::GetText() const
{
    return m_strText;
}

void CTermOfUseFrame::SetTextEncoding(int nEncoding)
{
    m_nEncoding = nEncoding;
}

std::unique_ptr<CFrame> CTermOfUseFrame::Clone() const
{
    auto pClone = std::make_unique<CTermOfUseFrame>();
    pClone->SetID(GetID());
    pClone->m_nEncoding = m_nEncoding;
    CopyLanguage(pClone->m_szLanguage, m_szLanguage);
    pClone->m_strText = m_strText;
    return pClone;
}

void CTermOfUseFrame::Parse(const BYTE* pData, UINT nLength)
{
    if (pData == nullptr || nLength < 1 + LANGUAGE_SIZE)
    {
        return;
    }
    m_nEncoding = pData[0];
    ParseLanguage(pData + 1, m_szLanguage);
    DecodeString(pData + 1 + LANGUAGE_SIZE, nLength - 1 - LANGUAGE_SIZE, m_strText, m_nEncoding);
}

void CTermOfUseFrame::Render(CRenderBuffer& buffer) const
{
    const int nEncoding = GetRenderEncoding(m_nEncoding);
    buffer.AppendByte(static_cast<BYTE>(nEncoding));
    RenderLanguage(buffer, m_szLanguage);
    EncodeString(buffer, m_strText, nEncoding);
}

} // namespace Tags::ID3v2Tag
