// CUrlLinkFrameDialog: edits a URL link frame (IDs beginning with "W"): the URL, and for "WXXX"
// its own description; the other IDs show their standard description, read-only.
#pragma once

#include "editor/ui/FrameBaseDialog.h"

class QLineEdit;

namespace Tags::ID3v2Tag
{
class CUrlLinkFrame;
}

class CUrlLinkFrameDialog : public CFrameBaseDialog
{
    Q_OBJECT

public:
    explicit CUrlLinkFrameDialog(QWidget* pParent = nullptr);

    // Only URL link frames are edited; any other frame is left alone (FALSE).
    BOOL EditFrame(Tags::ID3v2Tag::CFrame* pFrame) override;

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    Tags::ID3v2Tag::CUrlLinkFrame* m_pUrlFrame = nullptr;
    QLineEdit* m_pDescription = nullptr;
    QLineEdit* m_pUrl = nullptr;
};
