// The attached picture frame (APIC): MIME type, picture type, description and the picture's
// bytes, held whole.
#pragma once

#include "tags/id3v2/ID3v2Frame.h"

#include <vector>

namespace Tags::ID3v2Tag
{

// The picture types 0 to PictureTypeCount - 1 and the names the picture dialog shows for them.
inline constexpr int PictureTypeCount = 21;
extern const char16_t* const PictureTypeNames[PictureTypeCount];

class CPictureFrame : public CFrame
{
public:
    // The picture type of a new frame: the front cover.
    static constexpr int DEFAULT_PICTURE_TYPE = 3;

    // A frame read from a tag: pFrame holds nLength bytes, header included.
    CPictureFrame(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader);
    // A new "APIC" frame (version 4): encoding 0, no MIME type, front cover, no description,
    // no picture.
    CPictureFrame();
    ~CPictureFrame() override;

    // "[MIME type] description".
    CString GetText() const override;
    // The description is written in encoding 0 whenever the ANSI code page can hold it;
    // otherwise in nEncoding, the tag's write encoding, so that it is not lost.
    void SetTextEncoding(int nEncoding) override;
    // Always a CPictureFrame, also for the 2.2 layout.
    std::unique_ptr<CFrame> Clone() const override;
    // Bodies shorter than 5 bytes leave the frame as it is.
    void Parse(const BYTE* pData, UINT nLength) override;
    // Encoding byte, MIME type, picture type byte, description, picture bytes.
    void Render(CRenderBuffer& buffer) const override;
    const char* GetRuntimeClassName() const override { return "CPictureFrame"; }

    const BYTE* GetData() const { return m_data.data(); }
    UINT GetDataSize() const { return static_cast<UINT>(m_data.size()); }
    void SetData(const BYTE* pData, UINT nSize);

    int m_nEncoding = 0;
    CString m_strMimeType;
    // As read, a signed byte; any value is written back unchanged.
    int m_nPictureType = DEFAULT_PICTURE_TYPE;
    CString m_strDescription;
    // The picture's bytes, owned.
    std::vector<BYTE> m_data;

protected:
    // Takes the header without reading the body, for a class that reads another layout.
    enum class BodyLayout
    {
        Other
    };
    CPictureFrame(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader,
                  BodyLayout layout);

    // Description from pData in m_nEncoding, picture bytes after it.
    void ParseDescriptionAndData(const BYTE* pData, UINT nLength);
};

} // namespace Tags::ID3v2Tag
