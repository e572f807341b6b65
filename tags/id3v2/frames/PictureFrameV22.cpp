#include "tags/id3v2/frames/PictureFrameV22.h"

#include "tags/id3v2/ID3v2FrameHeader.h"
#include "tags/id3v2/ID3v2Strings.h"

namespace Tags::ID3v2Tag
{

namespace
{

// Bytes of the image format field.
constexpr UINT IMAGE_FORMAT_SIZE = 3;

std::unique_ptr<CFrameHeader> MakePictureHeader(std::unique_ptr<CFrameHeader> pRead)
{
    if (pRead == nullptr)
    {
        return std::make_unique<CFrameHeader>("APIC", 2);
    }
    auto pHeader = std::make_unique<CFrameHeader>(*pRead);
    pHeader->SetID("APIC");
    return pHeader;
}

} // namespace

CPictureFrameV22::CPictureFrameV22(const BYTE* pFrame, UINT nLength,
                                   std::unique_ptr<CFrameHeader> pHeader)
    : CPictureFrame(pFrame, nLength, MakePictureHeader(std::move(pHeader)), BodyLayout::Other)
{
    ParseFrameBody(pFrame, nLength);
}

CPictureFrameV22::~CPictureFrameV22() = default;

void CPictureFrameV22::Parse(const BYTE* pData, UINT nLength)
{
    if (pData == nullptr || nLength <= 1 + IMAGE_FORMAT_SIZE)
    {
        return;
    }
    m_nEncoding = pData[0];
    CString strFormat;
    DecodeString(pData + 1, IMAGE_FORMAT_SIZE, strFormat, TEXT_ENCODING_ANSI);
    if (strFormat.CompareNoCase(CString(u"JPG")) == 0)
    {
        m_strMimeType = u"image/jpeg";
    }
    else if (strFormat.CompareNoCase(CString(u"PNG")) == 0)
    {
        m_strMimeType = u"image/png";
    }
    else
    {
        m_strMimeType = CString(u"image/") + strFormat;
    }
    m_nPictureType = static_cast<signed char>(pData[1 + IMAGE_FORMAT_SIZE]);
    const UINT nOffset = 2 + IMAGE_FORMAT_SIZE;
    ParseDescriptionAndData(pData + nOffset, nLength - nOffset);
}

} // namespace Tags::ID3v2Tag
