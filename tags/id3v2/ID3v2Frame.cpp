#include "tags/id3v2/ID3v2Frame.h"

#include "tags/id3v2/ID3v2FrameHeader.h"

#include <algorithm>

namespace Tags::ID3v2Tag
{

CFrame::CFrame(const BYTE* /*pFrame*/, UINT /*nLength*/, std::unique_ptr<CFrameHeader> pHeader)
    : m_pHeader(std::move(pHeader))
{
    // Every frame has a header; one handed over empty gets a blank one.
    if (!m_pHeader)
    {
        m_pHeader = std::make_unique<CFrameHeader>(static_cast<const char*>(nullptr), 4);
    }
}

CFrame::CFrame(const char* szID, int nVersion)
    : m_pHeader(std::make_unique<CFrameHeader>(szID, nVersion))
{
}

CFrame::~CFrame() = default;

void CFrame::SetTextEncoding(int /*nEncoding*/) {}

void CFrame::Parse(const BYTE* /*pData*/, UINT /*nLength*/) {}

const char* CFrame::GetID() const
{
    return m_pHeader->m_szID;
}

void CFrame::SetID(const char* szID)
{
    m_pHeader->SetID(szID);
}

UINT CFrame::GetBodyOffset(UINT nLength) const
{
    return std::min(m_pHeader->GetDataOffset(), nLength);
}

void CFrame::ParseFrameBody(const BYTE* pFrame, UINT nLength)
{
    if (pFrame == nullptr)
    {
        Parse(nullptr, 0);
        return;
    }
    const UINT nOffset = GetBodyOffset(nLength);
    Parse(pFrame + nOffset, nLength - nOffset);
}

} // namespace Tags::ID3v2Tag
