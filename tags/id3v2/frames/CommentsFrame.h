// The comments frame (COMM): a comment with a short description and a language.
#pragma once

#include "tags/id3v2/FrameFields.h"
#include "tags/id3v2/ID3v2Frame.h"

namespace Tags::ID3v2Tag
{

class CCommentsFrame : public CFrame
{
public:
    // A frame read from a tag: pFrame holds nLength bytes, header included.
    CCommentsFrame(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader);
    // A new "COMM" frame (version 4): encoding 0, language "ENG", no description, no text.
    CCommentsFrame();
    ~CCommentsFrame() override;

    // The comment text.
    CString GetText() const override;
    void SetTextEncoding(int nEncoding) override;
    // The language is copied only when it has three characters; otherwise the clone keeps
    // "ENG".
    std::unique_ptr<CFrame> Clone() const override;
    // Encoding byte, language, description, text. Bodies shorter than 5 bytes leave the frame
    // as it is; with fewer than two strings after the language, description and text stay.
    void Parse(const BYTE* pData, UINT nLength) override;
    void Render(CRenderBuffer& buffer) const override;
    const char* GetRuntimeClassName() const override { return "CCommentsFrame"; }

    int m_nEncoding = 0;
    // Up to three characters, zero-terminated; written as three bytes.
    char m_szLanguage[LANGUAGE_SIZE + 1] = {'E', 'N', 'G', '\0'};
    CString m_strDescription;
    // The comment.
    CString m_strText;
};

} // namespace Tags::ID3v2Tag
