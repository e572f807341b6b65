#include "editor/ui/TextFrameDialog.h"

#include "browser/ui/NotifyVSListBox.h"
#include "browser/ui/QtString.h"
#include "editor/FrameDialogFields.h"
#include "editor/PresetValues.h"
#include "editor/ui/PresetDialog.h"
#include "tags/id3v2/frames/TextFrame.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace Tags::ID3v2Tag;

CTextFrameDialog::CTextFrameDialog(QWidget* pParent) : CFrameBaseDialog(pParent)
{
    setObjectName(QStringLiteral("323"));

    auto* pFieldLabel = new QLabel(QStringLiteral("&Field:"), this);
    m_pField = new QLineEdit(this);
    m_pField->setObjectName(QStringLiteral("1010"));
    pFieldLabel->setBuddy(m_pField);
    m_pValueList = new CNotifyVSListBox(this);
    m_pValueList->setObjectName(QStringLiteral("1011"));

    auto* pBody = new QGridLayout;
    pBody->addWidget(pFieldLabel, 0, 0);
    pBody->addWidget(m_pField, 0, 1);
    pBody->addWidget(m_pValueList, 1, 0, 1, 2);
    pBody->setRowStretch(1, 1);
    SetBody(pBody);
    // 270 x 135 dialog units.
    resize(405, 219);

    connect(m_pValueList, &CNotifyVSListBox::notify, this, &CTextFrameDialog::OnValuesNotify);
}

BOOL CTextFrameDialog::EditFrame(CFrame* pFrame)
{
    m_pTextFrame = dynamic_cast<CTextFrame*>(pFrame);
    return m_pTextFrame ? CFrameBaseDialog::EditFrame(pFrame) : FALSE;
}

void CTextFrameDialog::OnInitDialog()
{
    const char* szID = m_pTextFrame->GetID();
    m_pValueList->SetStandardButtons();
    m_pValueList->EnableBrowseButton(false);
    m_pValueList->SetCaption(QStringLiteral("Values:"));
    tagPRESETVALUES preset;
    if (GetPresetValues(szID, preset))
        m_pValueList->EnableBrowseButton(true);
    m_pField->setEnabled(IsFieldEditable(szID) != FALSE);

    const tagTEXTFRAMEFIELDS fields = GetTextFrameFields(*m_pTextFrame);
    m_pField->setText(ToQString(fields.strField));
    for (const CString& strValue : fields.arrValues)
        m_pValueList->AddItem(ToQString(strValue));
}

void CTextFrameDialog::OnValuesNotify(int nCode)
{
    if (nCode == CNotifyVSListBox::NOTIFY_BROWSE)
        OnBrowse();
}

void CTextFrameDialog::OnBrowse()
{
    tagPRESETVALUES preset;
    if (!GetPresetValues(m_pTextFrame->GetID(), preset))
        return;
    CPresetDialog picker(this);
    picker.m_pValues = preset.values;
    picker.m_strCaption = preset.strCaption;
    const int nNoted = m_pValueList->GetSelItem();
    if (picker.exec() != QDialog::Accepted)
        return;

    std::vector<CString> arrItems;
    for (int n = 0; n < m_pValueList->GetCount(); ++n)
        arrItems.push_back(ToCString(m_pValueList->GetItemText(n)));
    const int nCount = static_cast<int>(arrItems.size());
    const int nIndex = ApplyPresetChoice(arrItems, nNoted, picker.m_strSelected);
    if (nIndex < 0)
        return;
    const QString strChoice = ToQString(arrItems[static_cast<size_t>(nIndex)]);
    if (nIndex == nCount)
        m_pValueList->AddItem(strChoice);
    else
        m_pValueList->SetItemText(nIndex, strChoice);
    m_pValueList->SelectItem(nIndex);
}

void CTextFrameDialog::OnOK()
{
    // A value still being typed counts.
    m_pValueList->EndEdit();
    tagTEXTFRAMEFIELDS fields;
    fields.strField = ToCString(m_pField->text());
    for (int n = 0; n < m_pValueList->GetCount(); ++n)
        fields.arrValues.push_back(ToCString(m_pValueList->GetItemText(n)));
    m_pTextFrame->SetValues(BuildTextFrameValues(m_pTextFrame->GetID(), fields));
    CFrameBaseDialog::OnOK();
}
