// The terms of use frame (USER): the terms under which the file may be used, with a language.
#pragma once

#include "tags/id3v2/FrameFields.h"
#include "tags/id3v2/ID3v2Frame.h"

namespace Tags::ID3v2Tag
{

class CTermOfUseFrame : public CFrame
{
public:
    // A frame read from a tag: pFrame holds nLength bytes, header included.
    CTermOfUseFrame(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader);
    // A new "USER" frame (version 4): encoding 0, language "ENG", no text.
    CTermOfUseFrame();
    ~CTermOfUseFrame() override;

    // The terms.
    CString GetText() const override;
    void SetTextEncoding(int nEncoding) override;
    // The language is copied only when it has three characters; otherwise the clone keeps
    // "ENG".
    std::unique_ptr<CFrame> Clone() const override;
    // Encoding byte, language, then the terms up to the end. Bodies shorter than 4 bytes leave
    // the frame as it is.
    void Parse(const BYTE* pData, UINT nLength) override;
    // Encoding byte, language, the terms with their terminator.
    void Render(CRenderBuffer& buffer) const override;
    const char* GetRuntimeClassName() const override { return "CTermOfUseFrame"; }

    int m_nEncoding = 0;
    // Up to three characters, zero-terminated; written as three bytes.
    char m_szLanguage[LANGUAGE_SIZE + 1] = {'E', 'N', 'G', '\0'};
    CString m_strText;
};

} // namespace Tags::ID3v2Tag
