// The private frame (PRIV): an owner identifier and bytes only that owner understands, kept as
// they are.
#pragma once

#include "tags/id3v2/ID3v2Frame.h"

#include <vector>

namespace Tags::ID3v2Tag
{

class CPrivateFrame : public CFrame
{
public:
    // A frame read from a tag: pFrame holds nLength bytes, header included.
    CPrivateFrame(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader);
    // A new "PRIV" frame (version 4) without owner or data.
    CPrivateFrame();
    ~CPrivateFrame() override;

    // The owner identifier.
    CString GetText() const override;
    std::unique_ptr<CFrame> Clone() const override;
    // Owner up to the first zero byte, the private data after it. Bodies shorter than 2 bytes
    // leave the frame as it is.
    void Parse(const BYTE* pData, UINT nLength) override;
    // Owner in encoding 0 with its zero byte, then the data.
    void Render(CRenderBuffer& buffer) const override;
    const char* GetRuntimeClassName() const override { return "CPrivateFrame"; }

    const BYTE* GetData() const { return m_data.data(); }
    UINT GetDataSize() const { return static_cast<UINT>(m_data.size()); }
    void SetData(const BYTE* pData, UINT nSize);

    // The private data, owned.
    std::vector<BYTE> m_data;
    CString m_strOwner;
};

} // namespace Tags::ID3v2Tag
