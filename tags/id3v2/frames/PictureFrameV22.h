// The attached picture of an ID3v2.2 tag (PIC): a three-letter image format where APIC has a
// MIME type. It is held and written as an APIC frame.
#pragma once

#include "tags/id3v2/frames/PictureFrame.h"

namespace Tags::ID3v2Tag
{

class CPictureFrameV22 : public CPictureFrame
{
public:
    // A "PIC" frame read from a 2.2 tag: pFrame holds nLength bytes, header included. The frame
    // gets an "APIC" header with the read header's version, size and flags.
    CPictureFrameV22(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader);
    ~CPictureFrameV22() override;

    // Encoding byte, 3-byte image format, picture type byte, description, picture bytes. The
    // format becomes the MIME type: "JPG" and "PNG" in any case "image/jpeg" and "image/png",
    // any other "image/" and the format. Bodies of 4 bytes or fewer leave the frame as it is.
    void Parse(const BYTE* pData, UINT nLength) override;
    const char* GetRuntimeClassName() const override { return "CPictureFrameV22"; }
};

} // namespace Tags::ID3v2Tag
