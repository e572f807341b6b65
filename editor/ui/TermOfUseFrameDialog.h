// CTermOfUseFrameDialog: edits a terms of use frame (USER): its text. The language and the
// encoding are neither shown nor changed.
#pragma once

#include "editor/ui/FrameBaseDialog.h"

class CMultiLineEdit;

namespace Tags::ID3v2Tag
{
class CTermOfUseFrame;
}

class CTermOfUseFrameDialog : public CFrameBaseDialog
{
    Q_OBJECT

public:
    explicit CTermOfUseFrameDialog(QWidget* pParent = nullptr);

    // Only terms of use frames are edited; any other frame is left alone (FALSE).
    BOOL EditFrame(Tags::ID3v2Tag::CFrame* pFrame) override;

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    Tags::ID3v2Tag::CTermOfUseFrame* m_pTermFrame = nullptr;
    CMultiLineEdit* m_pText = nullptr;
};
