// COptionsTagsPage: the options dialog's "Tags" page (template 106): which tags are written and
// removed, and the version and text encoding of written ID3v2 tags. UTF-8 exists only in
// ID3v2.4, so the page offers it only with "Version 2.4".
#pragma once

#include "app/ui/OptionsPage.h"

class QCheckBox;
class QComboBox;
class QRadioButton;

class COptionsTagsPage : public COptionsPage
{
    Q_OBJECT

public:
    explicit COptionsTagsPage(CAppSettings& settings, QWidget* pParent = nullptr);

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    // Version list and encodings take input only while ID3v2 "Write" is checked, and UTF-8 only
    // with "Version 2.4"; leaving 2.4 with UTF-8 selected falls back to UTF-16.
    void UpdateControls();

    QCheckBox* m_pWriteID3v1 = nullptr;
    QCheckBox* m_pRemoveID3v1 = nullptr;
    QCheckBox* m_pWriteID3v2 = nullptr;
    QCheckBox* m_pRemoveID3v2 = nullptr;
    QComboBox* m_pVersion = nullptr;
    QRadioButton* m_pLatin1 = nullptr;
    QRadioButton* m_pUtf16 = nullptr;
    QRadioButton* m_pUtf8 = nullptr;
};
