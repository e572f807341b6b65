#include "editor/ui/UnsynchronizedLyricsFrameDialog.h"

CUnsynchronizedLyricsFrameDialog::CUnsynchronizedLyricsFrameDialog(QWidget* pParent)
    // 270 x 217 dialog units.
    : CCommentsFrameDialog(QStringLiteral("&Description:"), QStringLiteral("&Text:"), false,
                           QSize(405, 353), pParent)
{
    setObjectName(QStringLiteral("338"));
}
