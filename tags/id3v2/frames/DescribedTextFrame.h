// The layout the comments (COMM) and unsynchronised lyrics (USLT) frames share: an encoding, a
// language, a short description and the text. The two frame classes derive from it and keep
// their IDs, defaults and run-time names.
#pragma once

#include "tags/id3v2/FrameFields.h"
#include "tags/id3v2/ID3v2Frame.h"

namespace Tags::ID3v2Tag
{

class CDescribedTextFrame : public CFrame
{
public:
    ~CDescribedTextFrame() override;

    // The text.
    CString GetText() const override;
    void SetTextEncoding(int nEncoding) override;
    // Encoding byte, language, description, text. Bodies shorter than 5 bytes leave the frame
    // as it is; with fewer than two strings after the language, description and text stay.
    void Parse(const BYTE* pData, UINT nLength) override;
    void Render(CRenderBuffer& buffer) const override;

    int m_nEncoding = 0;
    // Up to three characters, zero-terminated; written as three bytes.
    char m_szLanguage[LANGUAGE_SIZE + 1] = {'E', 'N', 'G', '\0'};
    CString m_strDescription;
    CString m_strText;

protected:
    // A frame read from a tag: pFrame holds nLength bytes, header included; the body is read
    // here, since the layout's Parse is this class's.
    CDescribedTextFrame(const BYTE* pFrame, UINT nLength, std::unique_ptr<CFrameHeader> pHeader);
    // A new frame (version 4): encoding 0, language "ENG", no description, no text.
    explicit CDescribedTextFrame(const char* szID);

    // Gives a clone the ID and fields of this frame. The language is copied only when it has
    // three characters; otherwise the clone keeps "ENG".
    void CopyFieldsTo(CDescribedTextFrame& clone) const;
};

} // namespace Tags::ID3v2Tag
