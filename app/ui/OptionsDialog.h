// COptionsDialog: the modal "Options" dialog over the program's settings, with the pages
// General, Tags, Playlist and Integration. OK writes back the pages that were shown, in order;
// Cancel changes nothing. The Tools menu opens it at General, the tag editors at Tags and the
// playlist save dialog at Playlist:
//
//     COptionsDialog dialog(theApp, COptionsDialog::PAGE_PLAYLIST, pParent);
//     dialog.DoModal();
#pragma once

#include "app/AppSettings.h"
#include "app/ui/OptionsIntegrationPage.h"

#include <QDialog>

class COptionsGeneralPage;
class COptionsPage;
class COptionsPlaylistPage;
class COptionsTagsPage;
class QPushButton;
class QTabWidget;

class COptionsDialog : public QDialog
{
    Q_OBJECT

public:
    // Page indexes, in the order of the tabs.
    enum
    {
        PAGE_GENERAL = 0,
        PAGE_TAGS = 1,
        PAGE_PLAYLIST = 2,
        PAGE_INTEGRATION = 3,
        PAGE_COUNT = 4
    };

    // Edits settings; opens at nStartPage (General for an index out of range).
    explicit COptionsDialog(CAppSettings& settings, int nStartPage = PAGE_GENERAL,
                            QWidget* pParent = nullptr);
    ~COptionsDialog() override;

    // The page shown; before the dialog runs, the page it opens at.
    void SetActivePage(int nPage);
    int GetActiveIndex() const;
    COptionsPage* GetPage(int nPage) const;

    // Runs the dialog modally: QDialog::Accepted after OK, QDialog::Rejected otherwise.
    int DoModal();

    // How the Integration page starts the registration run (tests watch it).
    void SetProgramStarter(COptionsIntegrationPage::ProgramStarter starter);

    void accept() override;

private:
    QTabWidget* m_pTabs = nullptr;
    COptionsGeneralPage* m_pGeneral = nullptr;
    COptionsTagsPage* m_pTags = nullptr;
    COptionsPlaylistPage* m_pPlaylist = nullptr;
    COptionsIntegrationPage* m_pIntegration = nullptr;
    QPushButton* m_pApply = nullptr;
};
