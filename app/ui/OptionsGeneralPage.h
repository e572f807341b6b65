// COptionsGeneralPage: the options dialog's "General" page (template 107): the folder the list
// shows at start-up, either a folder of the user's choice or the last one visited.
#pragma once

#include "app/ui/OptionsPage.h"

class QLineEdit;
class QRadioButton;
class QToolButton;

class COptionsGeneralPage : public COptionsPage
{
    Q_OBJECT

public:
    explicit COptionsGeneralPage(CAppSettings& settings, QWidget* pParent = nullptr);

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    // The edit and its browse button take input only while "Use &follow path:" is selected.
    void UpdateControls();
    // The folder picker; the chosen folder goes into the edit.
    void OnBrowse();

    QRadioButton* m_pUsePath = nullptr;
    QRadioButton* m_pContinue = nullptr;
    QLineEdit* m_pUserPath = nullptr;
    QToolButton* m_pBrowse = nullptr;
};
