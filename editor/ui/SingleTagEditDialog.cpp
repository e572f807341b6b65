#include "editor/ui/SingleTagEditDialog.h"

#include "browser/FileChange.h"
#include "browser/ui/QtString.h"
#include "editor/AddMenu.h"
#include "editor/FrameKinds.h"
#include "res/StringTable.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"

#include <QTreeWidget>

using Tags::ID3v2Tag::CFrame;

CSingleTagEditDialog::CSingleTagEditDialog(QWidget* pParent) : CBaseTagEditDialog(pParent) {}

CSingleTagEditDialog::~CSingleTagEditDialog() = default;

int CSingleTagEditDialog::DoModal()
{
    if (!OnInitDialog())
        return QDialog::Rejected;
    return exec();
}

BOOL CSingleTagEditDialog::OnInitDialog()
{
    EnableKeep(FALSE);
    m_pFile = std::make_unique<Tags::CMpegFile>(m_strFilePath, FALSE);
    if (m_pFile->m_hFile == INVALID_HANDLE_VALUE)
    {
        ShowMessage(
            ToQString(Res::FormatResourceString(Res::IDS_FAILED_READING_FILE, m_strFilePath)));
        m_pFile.reset();
        return FALSE;
    }
    LoadID3v1Fields();
    LoadFrameList();
    return TRUE;
}

void CSingleTagEditDialog::LoadID3v1Fields()
{
    m_values = LoadID3v1Values(m_pFile->GetID3v1(FALSE));
    UpdateData(FALSE);
}

void CSingleTagEditDialog::LoadFrameList()
{
    Tags::ID3v2Tag::CID3v2* pTag = m_pFile->GetID3v2(FALSE);
    if (!pTag)
        return;
    GetFrameList()->setUpdatesEnabled(false);
    for (const auto& pFrame : pTag->m_frames)
        InsertFrameItem(pFrame->GetID(), ToQString(pFrame->GetText()), pFrame.get());
    GetFrameList()->setUpdatesEnabled(true);
}

void CSingleTagEditDialog::OnAddFrame(int nCommand)
{
    const char* szID = GetAddMenuFrameID(nCommand);
    if (!szID || !m_pFile)
        return;
    std::unique_ptr<CFrame> pFrame = CreateNewFrame(szID);
    if (!pFrame || !EditFrame(*pFrame))
        return;
    CFrame* pAdded = m_pFile->GetID3v2(TRUE)->AddTail(std::move(pFrame));
    SelectItem(InsertFrameItem(pAdded->GetID(), ToQString(pAdded->GetText()), pAdded));
}

void CSingleTagEditDialog::OnEditFrame()
{
    QTreeWidgetItem* pItem = GetSelectedItem();
    auto* pFrame = static_cast<CFrame*>(GetItemData(pItem));
    if (!pFrame)
        return;
    if (EditFrame(*pFrame))
        SetItemValue(pItem, ToQString(pFrame->GetText()));
}

void CSingleTagEditDialog::OnRemoveFrame()
{
    auto* pFrame = static_cast<CFrame*>(GetItemData(GetSelectedItem()));
    if (!pFrame)
        return;
    // The row goes first: it points at the frame.
    DeleteSelectedItem();
    if (Tags::ID3v2Tag::CID3v2* pTag = m_pFile ? m_pFile->GetID3v2(FALSE) : nullptr)
        pTag->DeleteFrame(pFrame);
}

void CSingleTagEditDialog::OnFieldMenu(ID3V1_FIELD field)
{
    if (GetFieldCommand(field) != FieldMenu::ID_COPY_FROM_ID3V2 || !m_pFile)
        return;
    Tags::ID3v2Tag::CID3v2* pID3v2 = m_pFile->GetID3v2(FALSE);
    if (!pID3v2)
        return;
    Tags::ID3v1Tag::CID3v1* pID3v1 = m_pFile->GetID3v1(TRUE);
    CopyFieldFromID3v2(field, *pID3v2, *pID3v1);
    // The other fields keep what was typed; this one shows the value as ID3v1 holds it.
    UpdateData(TRUE);
    LoadID3v1Field(field, *pID3v1, m_values);
    UpdateData(FALSE);
}

void CSingleTagEditDialog::OnOK()
{
    if (!m_pFile)
    {
        CBaseTagEditDialog::OnOK();
        return;
    }
    const tagTAGOPTIONS options = GetTagOptions();
    if (options.bWriteID3v1)
    {
        UpdateData(TRUE);
        int nTrack = 0;
        if (!CheckTrackNumber(nTrack))
            return;
        StoreID3v1Values(m_values, nTrack, *m_pFile->GetID3v1(TRUE));
    }
    const int nKey = GetChange() ? GetChange()->KeepTags(*m_pFile) : -1;
    if (!WriteFileTags(*m_pFile, options.bWriteID3v1, options.bWriteID3v2, options.nWriteVersion,
                       options.nTextEncoding))
    {
        ShowMessage(
            ToQString(Res::FormatResourceString(Res::IDS_FAILED_WRITING_FILE, m_strFilePath)));
        return;
    }
    if (nKey >= 0)
        GetChange()->TagsWritten(nKey, *m_pFile);
    m_pFile.reset();
    CBaseTagEditDialog::OnOK();
}
