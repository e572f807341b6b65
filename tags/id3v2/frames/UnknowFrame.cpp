#include "tags/id3v2/frames/UnknowFrame.h"

#include "tags/file/RenderBuffer.h"
#include "tags/id3v2/ID3v2FrameHeader.h"

#include <algorithm>

namespace Tags::ID3v2Tag
{

CUnknowFrame::CUnknowFrame(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader)
    : CFrame(pFrame, nLength, std::move(pHeader))
{
    ParseFrameBody(pFrame, nLength);
}

CUnknowFrame::CUnknowFrame(const char* szID, int nVersion) : CFrame(szID, nVersion) {}

CUnknowFrame::~CUnknowFrame() = default;

CString CUnknowFrame::GetText() const
{
    return CString();
}

std::unique_ptr<CFrame> CUnknowFrame::Clone() const
{
    auto pClone = std::make_unique<CUnknowFrame>(GetID(), 4);
    pClone->Parse(m_pData.get(), m_nDataSize);
    if (IsRawFormat())
    {
        CFrameHeader& header = *pClone->m_pHeader;
        header.m_bCompression = m_pHeader->m_bCompression;
        header.m_bEncryption = m_pHeader->m_bEncryption;
        header.m_bGroupingIdentity = m_pHeader->m_bGroupingIdentity;
        header.m_bDataLengthIndicator = m_pHeader->m_bDataLengthIndicator;
        header.m_nDataLength = m_pHeader->m_nDataLength;
        header.m_nEncryptionMethod = m_pHeader->m_nEncryptionMethod;
        header.m_nGroupSymbol = m_pHeader->m_nGroupSymbol;
    }
    return pClone;
}

void CUnknowFrame::Parse(const BYTE* pData, UINT nLength)
{
    if (pData == nullptr || nLength == 0)
    {
        m_pData.reset();
        m_nDataSize = 0;
        return;
    }
    auto pCopy = std::make_unique<BYTE[]>(nLength);
    std::copy(pData, pData + nLength, pCopy.get());
    m_pData = std::move(pCopy);
    m_nDataSize = nLength;
}

void CUnknowFrame::Render(CRenderBuffer& buffer) const
{
    if (m_nDataSize > 0)
    {
        buffer.Append(m_pData.get(), m_nDataSize);
    }
}

const char* CUnknowFrame::GetRuntimeClassName() const
{
    return "CUnknowFrame";
}

BOOL CUnknowFrame::IsRawFormat() const
{
    return m_pHeader->IsRawFormat();
}

} // namespace Tags::ID3v2Tag
