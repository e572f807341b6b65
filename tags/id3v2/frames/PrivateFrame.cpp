#include "tags/id3v2/frames/PrivateFrame.h"

#include "tags/file/RenderBuffer.h"
#include "tags/id3v2/ID3v2FrameHeader.h"
#include "tags/id3v2/ID3v2Strings.h"

#include <cstring>

namespace Tags::ID3v2Tag
{

CPrivateFrame::CPrivateFrame(const BYTE* pFrame, UINT nLength,
                             std::unique_ptr<CFrameHeader> pHeader)
    : CFrame(pFrame, nLength, std::move(pHeader))
{
    ParseFrameBody(pFrame, nLength);
}

CPrivateFrame::CPrivateFrame() : CFrame("PRIV", 4) {}

CPrivateFrame::~CPrivateFrame() = default;

CString CPrivateFrame::GetText() const
{
    return m_strOwner;
}

std::unique_ptr<CFrame> CPrivateFrame::Clone() const
{
    auto pClone = std::make_unique<CPrivateFrame>();
    pClone->SetID(GetID());
    pClone->m_strOwner = m_strOwner;
    pClone->m_data = m_data;
    return pClone;
}

void CPrivateFrame::Parse(const BYTE* pData, UINT nLength)
{
    if (pData == nullptr || nLength < 2)
    {
        return;
    }
    const BYTE* pZero = static_cast<const BYTE*>(std::memchr(pData, 0, nLength));
    const UINT nOwnerLength = pZero ? static_cast<UINT>(pZero - pData) : nLength;
    DecodeString(pData, nOwnerLength, m_strOwner, TEXT_ENCODING_ANSI);
    m_data.clear();
    if (pZero != nullptr)
    {
        m_data.assign(pZero + 1, pData + nLength);
    }
}

void CPrivateFrame::Render(CRenderBuffer& buffer) const
{
    EncodeString(buffer, m_strOwner, TEXT_ENCODING_ANSI);
    buffer.Append(m_data.data(), GetDataSize());
}

void CPrivateFrame::SetData(const BYTE* pData, UINT nSize)
{
    if (pData == nullptr || nSize == 0)
    {
        m_data.clear();
        return;
    }
    m_data.assign(pData, pData + nSize);
}

} // namespace Tags::ID3v2Tag
