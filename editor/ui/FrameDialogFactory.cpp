#include "editor/ui/FrameDialogFactory.h"

#include "editor/FrameKinds.h"
#include "editor/ui/CommentsFrameDialog.h"
#include "editor/ui/PictureFrameDialog.h"
#include "editor/ui/PopularimeterDialog.h"
#include "editor/ui/TermOfUseFrameDialog.h"
#include "editor/ui/TextFrameDialog.h"
#include "editor/ui/UnsynchronizedLyricsFrameDialog.h"
#include "editor/ui/UrlLinkFrameDialog.h"

std::unique_ptr<CFrameBaseDialog> CreateFrameDialog(const Tags::ID3v2Tag::CFrame& frame,
                                                    QWidget* pParent)
{
    switch (GetFrameDialogKind(frame))
    {
    case FRAME_DIALOG_TEXT:
        return std::make_unique<CTextFrameDialog>(pParent);
    case FRAME_DIALOG_COMMENTS:
        return std::make_unique<CCommentsFrameDialog>(pParent);
    case FRAME_DIALOG_URL_LINK:
        return std::make_unique<CUrlLinkFrameDialog>(pParent);
    case FRAME_DIALOG_PICTURE:
        return std::make_unique<CPictureFrameDialog>(pParent);
    case FRAME_DIALOG_POPULARIMETER:
        return std::make_unique<CPopularimeterDialog>(pParent);
    case FRAME_DIALOG_LYRICS:
        return std::make_unique<CUnsynchronizedLyricsFrameDialog>(pParent);
    case FRAME_DIALOG_TERM_OF_USE:
        return std::make_unique<CTermOfUseFrameDialog>(pParent);
    case FRAME_DIALOG_NONE:
        break;
    }
    return nullptr;
}
