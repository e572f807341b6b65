#include "tags/id3v2/frames/TextFrame.h"

#include "tags/file/RenderBuffer.h"
#include "tags/id3v2/ID3v2Strings.h"

#include <algorithm>

namespace Tags::ID3v2Tag
{

CTextFrame::CTextFrame(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader)
    : CFrame(pFrame, nLength, std::move(pHeader))
{
    ParseFrameBody(pFrame, nLength);
}

CTextFrame::CTextFrame(const char* szID, int nVersion) : CFrame(szID, nVersion) {}

CTextFrame::~CTextFrame() = default;

CString CTextFrame::GetText() const
{
    return JoinValues(m_values);
}

void CTextFrame::SetTextEncoding(int nEncoding)
{
    m_nEncoding = nEncoding;
}

std::unique_ptr<CFrame> CTextFrame::Clone() const
{
    auto pClone = std::make_unique<CTextFrame>(GetID(), 4);
    CopyContentTo(*pClone);
    return pClone;
}

void CTextFrame::CopyContentTo(CTextFrame& clone) const
{
    clone.m_nEncoding = m_nEncoding;
    clone.m_values = m_values;
}

void CTextFrame::Parse(const BYTE* pData, UINT nLength)
{
    m_values.clear();
    if (pData == nullptr || nLength <= 1)
    {
        return;
    }
    m_nEncoding = pData[0];
    const UINT nCharSize = GetCharSize(m_nEncoding);

    const BYTE* pText = pData + 1;
    const UINT nAvailable = nLength - 1;
    UINT nText = nAvailable;
    while (nText > 0 && pText[nText - 1] == 0)
    {
        --nText;
    }
    // Restore a zero byte that belongs to the last character, within the bytes there are.
    nText = std::min(nAvailable, (nText + nCharSize - 1) / nCharSize * nCharSize);

    std::vector<_SPLITINFO> pieces;
    SplitStrings(pText, nText, nCharSize, nCharSize, pieces);
    m_values.reserve(pieces.size());
    for (const _SPLITINFO& piece : pieces)
    {
        CString str;
        DecodeString(piece.pData.get(), piece.nLength, str, m_nEncoding);
        m_values.push_back(std::move(str));
    }
}

void CTextFrame::Render(CRenderBuffer& buffer) const
{
    buffer.AppendByte(static_cast<BYTE>(m_nEncoding));
    for (const CString& str : m_values)
    {
        EncodeString(buffer, str, m_nEncoding);
    }
}

const char* CTextFrame::GetRuntimeClassName() const
{
    return "CTextFrame";
}

void CTextFrame::SetValues(const std::vector<CString>& values)
{
    m_values = values;
}

CString JoinValues(const std::vector<CString>& values, size_t nFirst)
{
    CString strText;
    for (size_t i = nFirst; i < values.size(); ++i)
    {
        if (i > nFirst)
        {
            strText += u"; ";
        }
        strText += values[i];
    }
    return strText;
}

} // namespace Tags::ID3v2Tag
