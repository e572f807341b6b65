#include "rename/ui/AutoRenamePresetListBox.h"

#include "browser/ui/QtString.h"
#include "rename/AutoRenamePreset.h"

CAutoRenamePresetListBox::CAutoRenamePresetListBox(QWidget* pParent) : CNotifyVSListBox(pParent)
{
    SetStandardButtons(BUTTON_DELETE | BUTTON_UP | BUTTON_DOWN);
}

void CAutoRenamePresetListBox::FillFromStore(CAutoRenamePreset* pPresets)
{
    m_bFilled = FALSE;
    m_pPresets = pPresets;
    while (GetCount() > 0)
        RemoveItem(GetCount() - 1);
    for (int i = 0; m_pPresets && i < m_pPresets->GetCount(); ++i)
    {
        if (const tagPRESETDATA* pPreset = m_pPresets->GetPreset(i))
            AddRow(*pPreset);
    }
    m_bFilled = TRUE;
}

BOOL CAutoRenamePresetListBox::AddPreset(const tagPRESETDATA& preset)
{
    if (!m_pPresets || !m_pPresets->AddPreset(preset))
        return FALSE;
    AddRow(*m_pPresets->GetPreset(m_pPresets->GetCount() - 1));
    return TRUE;
}

void CAutoRenamePresetListBox::AddRow(const tagPRESETDATA& preset)
{
    const int nRow = AddItem(ToQString(GetPresetFormat(preset)));
    SetItemData(nRow, reinterpret_cast<quintptr>(&preset));
}

const tagPRESETDATA* CAutoRenamePresetListBox::GetSelectedPreset() const
{
    const int nRow = GetSelItem();
    return nRow < 0 ? nullptr : reinterpret_cast<const tagPRESETDATA*>(GetItemData(nRow));
}

BOOL CAutoRenamePresetListBox::OnBeforeRemoveItem(int nItem)
{
    // The row goes with its entry; it no longer points at the record meanwhile.
    SetItemData(nItem, 0);
    if (m_pPresets)
        m_pPresets->RemovePreset(nItem);
    return TRUE;
}

void CAutoRenamePresetListBox::OnAfterMoveItemUp(int nItem)
{
    if (m_pPresets)
        m_pPresets->ExchangePresets(nItem, nItem + 1);
}

void CAutoRenamePresetListBox::OnAfterMoveItemDown(int nItem)
{
    if (m_pPresets)
        m_pPresets->ExchangePresets(nItem, nItem - 1);
}

void CAutoRenamePresetListBox::OnSelectionChanged()
{
    if (m_bFilled)
        emit presetSelected();
}
