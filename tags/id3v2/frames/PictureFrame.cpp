#include "tags/id3v2/frames/PictureFrame.h"

#include "base/CodePage.h"
#include "tags/file/RenderBuffer.h"
#include "tags/id3v2/FrameFields.h"
#include "tags/id3v2/ID3v2FrameHeader.h"
#include "tags/id3v2/ID3v2Strings.h"

namespace Tags::ID3v2Tag
{

const char16_t* const PictureTypeNames[PictureTypeCount] = {
    u"Other",
    u"FileIcon",
    u"OtherFileIcon",
    u"FrontCover",
    u"BackCover",
    u"LeafletPage",
    u"Media",
    u"LeadArtist",
    u"Artist",
    u"Conductor",
    u"Band",
    u"Composer",
    u"Lyricist",
    u"RecordingLocation",
    u"DuringRecording",
    u"DuringPerformance",
    u"MovieScreenCapture",
    u"ColouredFish",
    u"Illustration",
    u"BandLogo",
    u"PublisherLogo",
};

CPictureFrame::CPictureFrame(const BYTE* pFrame, UINT nLength,
                             std::unique_ptr<CFrameHeader> pHeader)
    : CFrame(pFrame, nLength, std::move(pHeader))
{
    ParseFrameBody(pFrame, nLength);
}

CPictureFrame::CPictureFrame(const BYTE* pFrame, UINT nLength,
                             std::unique_ptr<CFrameHeader> pHeader, BodyLayout /*layout*/)
    : CFrame(pFrame, nLength, std::move(pHeader))
{
}

CPictureFrame::CPictureFrame() : CFrame("APIC", 4) {}

CPictureFrame::~CPictureFrame() = default;

CString CPictureFrame::GetText() const
{
    return FormatString(u"[%s] %s", m_strMimeType, m_strDescription);
}

void CPictureFrame::SetTextEncoding(int nEncoding)
{
    bool bUsedDefault = false;
    CodePage::FromWide(CP_ACP, m_strDescription, &bUsedDefault);
    m_nEncoding = bUsedDefault ? nEncoding : TEXT_ENCODING_ANSI;
}

std::unique_ptr<CFrame> CPictureFrame::Clone() const
{
    auto pClone = std::make_unique<CPictureFrame>();
    pClone->SetID(GetID());
    pClone->m_nEncoding = m_nEncoding;
    pClone->m_strMimeType = m_strMimeType;
    pClone->m_nPictureType = m_nPictureType;
    pClone->m_strDescription = m_strDescription;
    pClone->m_data = m_data;
    return pClone;
}

void CPictureFrame::Parse(const BYTE* pData, UINT nLength)
{
    if (pData == nullptr || nLength < 5)
    {
        return;
    }
    m_nEncoding = pData[0];
    const UINT nMimeLength =
        DecodeTerminatedString(pData + 1, nLength - 1, m_strMimeType, TEXT_ENCODING_ANSI);
    UINT nOffset = 1 + nMimeLength;
    m_nPictureType = 0;
    if (nOffset < nLength)
    {
        m_nPictureType = static_cast<signed char>(pData[nOffset]);
        ++nOffset;
    }
    ParseDescriptionAndData(pData + nOffset, nLength - nOffset);
}

void CPictureFrame::ParseDescriptionAndData(const BYTE* pData, UINT nLength)
{
    const UINT nDescriptionLength =
        DecodeTerminatedString(pData, nLength, m_strDescription, m_nEncoding);
    m_data.assign(pData + nDescriptionLength, pData + nLength);
}

void CPictureFrame::Render(CRenderBuffer& buffer) const
{
    const int nEncoding = GetRenderEncoding(m_nEncoding);
    buffer.AppendByte(static_cast<BYTE>(nEncoding));
    EncodeString(buffer, m_strMimeType, TEXT_ENCODING_ANSI);
    buffer.AppendByte(static_cast<BYTE>(m_nPictureType));
    EncodeString(buffer, m_strDescription, nEncoding);
    buffer.Append(m_data.data(), GetDataSize());
}

void CPictureFrame::SetData(const BYTE* pData, UINT nSize)
{
    if (pData == nullptr || nSize == 0)
    {
        m_data.clear();
        return;
    }
    m_data.assign(pData, pData + nSize);
}

} // namespace Tags::ID3v2Tag
