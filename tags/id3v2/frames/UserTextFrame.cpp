#include "tags/id3v2/frames/UserTextFrame.h"

namespace Tags::ID3v2Tag
{

CUserTextFrame::CUserTextFrame(const BYTE* pFrame, UINT nLength,
                               std::unique_ptr<CFrameHeader> pHeader)
    : CTextFrame(pFrame, nLength, std::move(pHeader))
{
}

CUserTextFrame::CUserTextFrame() : CTextFrame("TXXX", 4) {}

CUserTextFrame::~CUserTextFrame() = default;

CString CUserTextFrame::GetText() const
{
    return u"[" + GetDescription() + u"] " + JoinValues(m_values, 1);
}

std::unique_ptr<CFrame> CUserTextFrame::Clone() const
{
    auto pClone = std::make_unique<CUserTextFrame>();
    pClone->SetID(GetID());
    CopyContentTo(*pClone);
    return pClone;
}

const char* CUserTextFrame::GetRuntimeClassName() const
{
    return "CUserTextFrame";
}

CString CUserTextFrame::GetDescription() const
{
    return m_values.empty() ? CString() : m_values.front();
}

} // namespace Tags::ID3v2Tag
