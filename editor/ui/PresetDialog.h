// CPresetDialog: the picker "Preset" that offers a list of predefined values (genres, file
// types, media types) for the text frame dialog's browse button.
#pragma once

#include "base/String.h"

#include <QDialog>

#include <span>

class QTreeWidget;

class CPresetDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CPresetDialog(QWidget* pParent = nullptr);

    // Fills the list from m_pValues, titles the window m_strCaption and runs the dialog.
    int exec() override;

    // The values to offer, in order (borrowed); a null entry ends them early.
    std::span<const char16_t* const> m_pValues;
    // The window title.
    CString m_strCaption;
    // After OK: the chosen value, or empty when no row was selected.
    CString m_strSelected;

protected:
    void OnInitDialog();
    void OnOK();

private:
    void accept() override;

    QTreeWidget* m_pList = nullptr;
};
