#include "editor/FrameKinds.h"

#include "tags/id3v2/frames/CommentsFrame.h"
#include "tags/id3v2/frames/PictureFrame.h"
#include "tags/id3v2/frames/PopularimeterFrame.h"
#include "tags/id3v2/frames/TermOfUseFrame.h"
#include "tags/id3v2/frames/TextFrame.h"
#include "tags/id3v2/frames/UnsynchronizedLyricsFrame.h"
#include "tags/id3v2/frames/UrlLinkFrame.h"
#include "tags/id3v2/frames/UserTextFrame.h"
#include "tags/id3v2/frames/UserUrlLinkFrame.h"

#include <cstring>

using namespace Tags::ID3v2Tag;

namespace
{

// New frames are written as the tag's version converts them; they start as 2.4 frames.
constexpr int NEW_FRAME_VERSION = 4;

bool Is(const char* szID, const char* szOther)
{
    return std::strcmp(szID, szOther) == 0;
}

template <typename T> bool IsA(const CFrame& frame)
{
    return dynamic_cast<const T*>(&frame) != nullptr;
}

} // namespace

FRAME_DIALOG_KIND GetFrameDialogKind(const char* szID)
{
    if (szID == nullptr)
        return FRAME_DIALOG_NONE;
    if (szID[0] == 'T')
        return FRAME_DIALOG_TEXT;
    if (Is(szID, "COMM"))
        return FRAME_DIALOG_COMMENTS;
    if (szID[0] == 'W')
        return FRAME_DIALOG_URL_LINK;
    if (Is(szID, "APIC"))
        return FRAME_DIALOG_PICTURE;
    if (Is(szID, "POPM"))
        return FRAME_DIALOG_POPULARIMETER;
    if (Is(szID, "USLT"))
        return FRAME_DIALOG_LYRICS;
    if (Is(szID, "USER"))
        return FRAME_DIALOG_TERM_OF_USE;
    return FRAME_DIALOG_NONE;
}

FRAME_DIALOG_KIND GetFrameDialogKind(const CFrame& frame)
{
    const char* szID = frame.GetID();
    const FRAME_DIALOG_KIND kind = GetFrameDialogKind(szID);
    bool bMatches = false;
    switch (kind)
    {
    case FRAME_DIALOG_TEXT:
        bMatches = Is(szID, "TXXX") ? IsA<CUserTextFrame>(frame) : IsA<CTextFrame>(frame);
        break;
    case FRAME_DIALOG_COMMENTS:
        bMatches = IsA<CCommentsFrame>(frame);
        break;
    case FRAME_DIALOG_URL_LINK:
        bMatches = Is(szID, "WXXX") ? IsA<CUserUrlLinkFrame>(frame) : IsA<CUrlLinkFrame>(frame);
        break;
    case FRAME_DIALOG_PICTURE:
        bMatches = IsA<CPictureFrame>(frame);
        break;
    case FRAME_DIALOG_POPULARIMETER:
        bMatches = IsA<CPopularimeterFrame>(frame);
        break;
    case FRAME_DIALOG_LYRICS:
        bMatches = IsA<CUnsynchronizedLyricsFrame>(frame);
        break;
    case FRAME_DIALOG_TERM_OF_USE:
        bMatches = IsA<CTermOfUseFrame>(frame);
        break;
    case FRAME_DIALOG_NONE:
        break;
    }
    return bMatches ? kind : FRAME_DIALOG_NONE;
}

std::unique_ptr<CFrame> CreateNewFrame(const char* szID)
{
    switch (GetFrameDialogKind(szID))
    {
    case FRAME_DIALOG_TEXT:
        if (Is(szID, "TXXX"))
            return std::make_unique<CUserTextFrame>();
        return std::make_unique<CTextFrame>(szID, NEW_FRAME_VERSION);
    case FRAME_DIALOG_COMMENTS:
        return std::make_unique<CCommentsFrame>();
    case FRAME_DIALOG_URL_LINK:
        if (Is(szID, "WXXX"))
            return std::make_unique<CUserUrlLinkFrame>();
        return std::make_unique<CUrlLinkFrame>(szID, NEW_FRAME_VERSION);
    case FRAME_DIALOG_PICTURE:
        return std::make_unique<CPictureFrame>();
    case FRAME_DIALOG_POPULARIMETER:
        return std::make_unique<CPopularimeterFrame>();
    case FRAME_DIALOG_LYRICS:
        return std::make_unique<CUnsynchronizedLyricsFrame>();
    case FRAME_DIALOG_TERM_OF_USE:
        return std::make_unique<CTermOfUseFrame>();
    case FRAME_DIALOG_NONE:
        break;
    }
    return nullptr;
}
