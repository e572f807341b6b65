// CUnsynchronizedLyricsFrameDialog: edits an unsynchronised lyrics frame (USLT): its description
// and its lyrics, in a larger box whose lines do not wrap.
#pragma once

#include "editor/ui/CommentsFrameDialog.h"

class CUnsynchronizedLyricsFrameDialog : public CCommentsFrameDialog
{
    Q_OBJECT

public:
    explicit CUnsynchronizedLyricsFrameDialog(QWidget* pParent = nullptr);
};
