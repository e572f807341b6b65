// CCommentsFrameDialog: edits a comments frame (COMM): its short description and its text. The
// unsynchronised lyrics dialog derives from it; both edit the same fields. The language and the
// encoding are neither shown nor changed.
#pragma once

#include "editor/ui/FrameBaseDialog.h"

class CMultiLineEdit;
class QLineEdit;

namespace Tags::ID3v2Tag
{
class CDescribedTextFrame;
}

class CCommentsFrameDialog : public CFrameBaseDialog
{
    Q_OBJECT

public:
    explicit CCommentsFrameDialog(QWidget* pParent = nullptr);

    // Only comments and lyrics frames are edited; any other frame is left alone (FALSE).
    BOOL EditFrame(Tags::ID3v2Tag::CFrame* pFrame) override;

protected:
    // The layout with other captions: the description's label, the text's label, whether the
    // text wraps (only a vertical scroll bar) and the size in pixels.
    CCommentsFrameDialog(const QString& strDescriptionLabel, const QString& strTextLabel,
                         bool bWrap, const QSize& size, QWidget* pParent);

    void OnInitDialog() override;
    void OnOK() override;

private:
    Tags::ID3v2Tag::CDescribedTextFrame* m_pDescribedFrame = nullptr;
    QLineEdit* m_pDescription = nullptr;
    CMultiLineEdit* m_pText = nullptr;
};
