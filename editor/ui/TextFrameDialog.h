// CTextFrameDialog: edits a text frame (IDs beginning with "T"): the Field, which only "TXXX" lets
// the user change, and the list of values, with a picker of predefined values for "TCON", "TFLT"
// and "TMED".
#pragma once

#include "editor/ui/FrameBaseDialog.h"

class CNotifyVSListBox;
class QLineEdit;

namespace Tags::ID3v2Tag
{
class CTextFrame;
}

class CTextFrameDialog : public CFrameBaseDialog
{
    Q_OBJECT

public:
    explicit CTextFrameDialog(QWidget* pParent = nullptr);

    // Only text frames are edited; any other frame is left alone (FALSE).
    BOOL EditFrame(Tags::ID3v2Tag::CFrame* pFrame) override;

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    void OnValuesNotify(int nCode);
    void OnBrowse();

    Tags::ID3v2Tag::CTextFrame* m_pTextFrame = nullptr;
    QLineEdit* m_pField = nullptr;
    CNotifyVSListBox* m_pValueList = nullptr;
};
