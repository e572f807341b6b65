// CFrameBaseDialog: the base of the small modal dialogs, titled "Edit tag", that edit one ID3v2
// frame. The caller creates a dialog, calls EditFrame once with the frame (borrowed) and
// destroys the dialog; the frame changes only when OK is pressed.
#pragma once

#include "base/Types.h"

#include <QDialog>

class QDialogButtonBox;
class QLayout;

namespace Tags::ID3v2Tag
{
class CFrame;
}

class CFrameBaseDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CFrameBaseDialog(QWidget* pParent = nullptr);

    // Shows the frame's fields, runs the dialog modally and, on OK, writes them back into the
    // frame; TRUE exactly when the dialog ended with OK.
    virtual BOOL EditFrame(Tags::ID3v2Tag::CFrame* pFrame);

protected:
    // Fills the controls from m_pFrame (called before the dialog shows).
    virtual void OnInitDialog() = 0;
    // Writes the controls into m_pFrame and closes with OK; a dialog that refuses a value stays
    // open instead (without calling the base).
    virtual void OnOK();

    // Lays out the dialog: the controls above, OK and Cancel at the bottom right.
    void SetBody(QLayout* pBody);

    Tags::ID3v2Tag::CFrame* m_pFrame = nullptr;
    QDialogButtonBox* m_pButtons = nullptr;

private:
    void accept() override;
};
