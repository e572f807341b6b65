#include "editor/ui/MultiTagEditDialog.h"

#include "browser/ui/QtString.h"
#include "editor/AddMenu.h"
#include "editor/FrameKinds.h"
#include "editor/FrameRows.h"
#include "editor/MultiTagScan.h"
#include "editor/MultiTagWriting.h"
#include "res/StringTable.h"

#include <QMessageBox>
#include <QTreeWidget>

#include <algorithm>

using Tags::ID3v2Tag::CFrame;
using Action = CActionList::Action;

CMultiTagEditDialog::CMultiTagEditDialog(IBusyState& busy, QWidget* pParent)
    : CBaseTagEditDialog(pParent), m_busy(busy)
{
}

CMultiTagEditDialog::~CMultiTagEditDialog() = default;

int CMultiTagEditDialog::DoModal()
{
    if (!OnInitDialog())
        return QDialog::Rejected;
    return exec();
}

BOOL CMultiTagEditDialog::OnInitDialog()
{
    EnableKeep(TRUE);
    AddGenreEntries(
        {QString::fromUtf16(PLACEHOLDER_KEEP), QString::fromUtf16(PLACEHOLDER_COPY_FROM_ID3V2)});
    m_pActions = std::make_unique<CActionList>();
    m_stamps.clear();
    CString strFailed;
    switch (ScanFrameIDs(m_files, *m_pActions, m_busy, &strFailed, &m_stamps))
    {
    case SCAN_DONE:
        break;
    case SCAN_OPEN_FAILED:
        ShowMessage(ToQString(Res::FormatResourceString(Res::IDS_FAILED_READING_FILE, strFailed)));
        return FALSE;
    case SCAN_CANCELLED:
        return FALSE;
    }
    SetFieldsToKeep();
    GetFrameList()->setUpdatesEnabled(false);
    for (const auto& pAction : *m_pActions)
        InsertActionItem(*pAction);
    GetFrameList()->setUpdatesEnabled(true);
    return TRUE;
}

QTreeWidgetItem* CMultiTagEditDialog::InsertActionItem(Action& action)
{
    QTreeWidgetItem* pItem =
        InsertFrameItem(action.m_szFrameID, ToQString(action.GetValueText()), &action);
    // The row's number among the rows in the order they were made; the row itself is found by
    // its action, as the groups reorder the display.
    action.m_nItem = static_cast<int>(GetRows().size()) - 1;
    return pItem;
}

void CMultiTagEditDialog::SetFieldsToKeep()
{
    m_values = GetFieldsToKeep();
    UpdateData(FALSE);
}

std::unique_ptr<CFrame> CMultiTagEditDialog::CreateFrameWithDialog(const char* szID)
{
    std::unique_ptr<CFrame> pFrame = CreateNewFrame(szID);
    if (!pFrame || !EditFrame(*pFrame))
        return nullptr;
    return pFrame;
}

BOOL CMultiTagEditDialog::AskUseSameField()
{
    QMessageBox box(QMessageBox::Warning, ToQString(Res::LoadResourceString(Res::IDS_APP_TITLE)),
                    ToQString(Res::LoadResourceString(Res::IDS_USE_SAME_FIELD)),
                    QMessageBox::Yes | QMessageBox::No, this);
    return box.exec() == QMessageBox::Yes;
}

void CMultiTagEditDialog::ShowAction(const Action& action)
{
    if (QTreeWidgetItem* pItem = FindItem(&action))
        SetItemValue(pItem, ToQString(action.GetValueText()));
}

Action* CMultiTagEditDialog::GetSelectedAction() const
{
    return static_cast<Action*>(GetItemData(GetSelectedItem()));
}

void CMultiTagEditDialog::OnAddFrame(int nCommand)
{
    const char* szID = GetAddMenuFrameID(nCommand);
    if (!szID || !m_pActions)
        return;
    Action* pAction = m_pActions->FindAction(szID);
    if (pAction && !AskUseSameField())
        return;
    std::unique_ptr<CFrame> pFrame = CreateFrameWithDialog(szID);
    if (!pFrame)
        return;
    if (pAction)
    {
        pAction->Set(std::move(pFrame));
        ShowAction(*pAction);
    }
    else
    {
        pAction = m_pActions->AddAction(ACTION_SET, szID, std::move(pFrame));
        InsertActionItem(*pAction);
    }
    if (QTreeWidgetItem* pItem = FindItem(pAction))
        SelectItem(pItem);
}

void CMultiTagEditDialog::OnEditFrame()
{
    Action* pAction = GetSelectedAction();
    if (!pAction)
        return;
    const FRAME_DIALOG_KIND kind = pAction->m_pFrame ? GetFrameDialogKind(*pAction->m_pFrame)
                                                     : GetFrameDialogKind(pAction->m_szFrameID);
    if (kind == FRAME_DIALOG_NONE)
    {
        ShowMessage(ToQString(Res::LoadResourceString(Res::IDS_UNSUPPORTED_FIELD)));
        return;
    }
    if (pAction->m_nType == ACTION_SET && pAction->m_pFrame)
    {
        if (EditFrame(*pAction->m_pFrame))
            ShowAction(*pAction);
        return;
    }
    // A kept or removed row never starts from a file's value: each file may have its own.
    if (pAction->m_nType == ACTION_KEEP && !AskUseSameField())
        return;
    if (std::unique_ptr<CFrame> pFrame = CreateFrameWithDialog(pAction->m_szFrameID))
    {
        pAction->Set(std::move(pFrame));
        ShowAction(*pAction);
    }
}

void CMultiTagEditDialog::SetSelectedActionType(int nType)
{
    QTreeWidgetItem* pItem = GetSelectedItem();
    auto* pAction = static_cast<Action*>(GetItemData(pItem));
    if (!pAction)
        return;
    if (nType == ACTION_REMOVE)
        pAction->Remove();
    else
        pAction->Keep();
    SetItemValue(pItem, ToQString(pAction->GetValueText()));
    // Repeated presses walk down the list.
    const std::vector<QTreeWidgetItem*> arrRows = GetRows();
    const int nRow =
        static_cast<int>(std::find(arrRows.begin(), arrRows.end(), pItem) - arrRows.begin());
    const int nNext = GetNextRow(nRow, static_cast<int>(arrRows.size()));
    if (nNext >= 0)
        SelectItem(arrRows[static_cast<size_t>(nNext)]);
}

void CMultiTagEditDialog::OnRemoveFrame()
{
    SetSelectedActionType(ACTION_REMOVE);
}

void CMultiTagEditDialog::OnKeepFrame()
{
    SetSelectedActionType(ACTION_KEEP);
}

void CMultiTagEditDialog::OnFieldMenu(ID3V1_FIELD field)
{
    const UINT nCommand = GetFieldCommand(field);
    if (nCommand != FieldMenu::ID_KEEP && nCommand != FieldMenu::ID_COPY_FROM_ID3V2)
        return;
    const bool bKeep = nCommand == FieldMenu::ID_KEEP;
    // What was typed into the other fields stays.
    UpdateData(TRUE);
    if (field == FIELD_GENRE)
    {
        m_values.nGenre = bKeep ? GENRE_ENTRY_KEEP : GENRE_ENTRY_COPY_FROM_ID3V2;
    }
    else
    {
        *GetFieldText(field, m_values) = bKeep ? PLACEHOLDER_KEEP : PLACEHOLDER_COPY_FROM_ID3V2;
    }
    UpdateData(FALSE);
}

void CMultiTagEditDialog::OnOK()
{
    UpdateData(TRUE);
    int nTrack = 0;
    if (!CheckTrackNumber(nTrack))
        return;
    if (m_pActions)
        WriteTagsToFiles(m_files, *m_pActions, m_values, GetTagOptions(), m_busy, m_pDiagnostics,
                         &m_stamps, GetChange());
    CBaseTagEditDialog::OnOK();
}
