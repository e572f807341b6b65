// COptionsPlaylistPage: the options dialog's "Playlist" page (template 363): how Create Playlist
// writes the paths of the files, and whether it adds "#EXTINF" lines.
#pragma once

#include "app/ui/OptionsPage.h"

class QCheckBox;
class QRadioButton;

class COptionsPlaylistPage : public COptionsPage
{
    Q_OBJECT

public:
    explicit COptionsPlaylistPage(CAppSettings& settings, QWidget* pParent = nullptr);

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    QRadioButton* m_pRelative = nullptr;
    QRadioButton* m_pFullPath = nullptr;
    QCheckBox* m_pExtInfo = nullptr;
};
