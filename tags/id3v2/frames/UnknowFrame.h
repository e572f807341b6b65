// A frame kept as it was read: every frame the program does not interpret, and every frame
// read with compression, encryption or grouping, whose data cannot be interpreted. The data is
// written back unchanged; for the latter the header keeps the flags and their extra bytes.
#pragma once

#include "tags/id3v2/ID3v2Frame.h"

namespace Tags::ID3v2Tag
{

class CUnknowFrame : public CFrame
{
public:
    // From a frame read from a file: keeps the bytes from the header's data offset to the end.
    CUnknowFrame(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader);
    // A new frame without data.
    CUnknowFrame(const char* szID, int nVersion);
    ~CUnknowFrame() override;

    // Empty: the data is not shown.
    CString GetText() const override;
    // A copy of the data with a fresh header (version 4, no status flags). The flags and extra
    // bytes of compression, encryption and grouping go with it, since the data means nothing
    // without them.
    std::unique_ptr<CFrame> Clone() const override;
    // Replaces the data by a copy of the given bytes.
    void Parse(const BYTE* pData, UINT nLength) override;
    // Appends the data as kept (nothing when there is none).
    void Render(CRenderBuffer& buffer) const override;
    const char* GetRuntimeClassName() const override;

    // TRUE when the frame was read compressed, encrypted or grouped.
    BOOL IsRawFormat() const;

    // NULL when there is no data.
    std::unique_ptr<BYTE[]> m_pData;
    UINT m_nDataSize = 0;
};

} // namespace Tags::ID3v2Tag
