#include "browser/ui/InPlaceRename.h"

#include "base/Path.h"
#include "browser/FileAssocData.h"
#include "browser/FileList.h"
#include "browser/FileMove.h"
#include "browser/UndoHistory.h"
#include "browser/ui/FileListModel.h"
#include "browser/ui/LabelEditDelegate.h"
#include "browser/ui/QtString.h"
#include "res/StringTable.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QMessageBox>

CInPlaceRename::CInPlaceRename(QAbstractItemView& view, CFileList& list, CFileListModel& model)
    : m_view(view), m_list(list), m_model(model)
{
    m_pDelegate = new CLabelEditDelegate(
        [this](int nRow, const QString& strText) { OnEndLabelEdit(nRow, strText); }, &m_view);
    m_view.setItemDelegate(m_pDelegate);
}

QLineEdit* CInPlaceRename::GetEditor() const
{
    return m_pDelegate ? m_pDelegate->GetEditor() : nullptr;
}

void CInPlaceRename::Start(int nRow)
{
    if (nRow < 0 || m_model.columnCount() == 0)
        return;
    m_view.setFocus(Qt::OtherFocusReason);
    const QModelIndex index = m_model.index(nRow, 0);
    m_view.scrollTo(index);
    m_view.edit(index);
    // The view selects the whole text when it opens the editor; the name alone is wanted.
    if (QLineEdit* pEdit = GetEditor())
        CLabelEditDelegate::SelectName(*pEdit);
}

void CInPlaceRename::OnEndLabelEdit(int nRow, const QString& strText)
{
    const CFileAssocData* pRecord = m_list.GetRecord(nRow);
    if (!pRecord)
        return;
    // The move and its message box wait until the editor has closed: a message box over the
    // closing editor would end the edit a second time.
    const bool bQueued = m_pRenameRecord != nullptr;
    m_pRenameRecord = pRecord;
    m_strRenameText = strText;
    if (!bQueued)
        QMetaObject::invokeMethod(
            &m_view, [this] { Finish(); }, Qt::QueuedConnection);
}

void CInPlaceRename::Finish()
{
    const CFileAssocData* pRecord = m_pRenameRecord;
    m_pRenameRecord = nullptr;
    const int nRow = m_list.IndexOf(pRecord);
    if (nRow < 0)
        return;
    RenameRecord(*m_list.GetRecord(nRow), ToCString(m_strRenameText));
}

void CInPlaceRename::RenameRecord(CFileAssocData& record, const CString& strName)
{
    const CString strOldPath = record.GetFullPath();
    const CString strNewPath = record.m_strFolder + Path::chSeparator + strName;
    if (strNewPath == strOldPath)
        return;
    LONG lOsError = 0;
    CUndoHistory* pHistory = m_getHistory ? m_getHistory() : nullptr;
    std::unique_ptr<CFileChange> pChange =
        pHistory ? pHistory->BeginChange(u"Rename") : std::unique_ptr<CFileChange>();
    const BOOL bRenamed = RenameRecordFile(record, strName, &lOsError);
    if (bRenamed && pChange)
        pChange->FileRenamed(strOldPath, strNewPath);
    if (pHistory)
        pHistory->AddChange(std::move(pChange));
    if (!bRenamed)
    {
        const CString strText =
            Res::FormatResourceString(Res::IDS_RENAME_FAILED, strOldPath, strNewPath) + u"\n\n" +
            GetOsErrorText(lOsError);
        QMessageBox box(QMessageBox::Warning,
                        ToQString(Res::LoadResourceString(Res::IDS_APP_TITLE)), ToQString(strText),
                        QMessageBox::Ok, &m_view);
        box.exec();
        return;
    }
    const int nRow = m_list.IndexOf(&record);
    if (!record.m_bStale)
    {
        m_list.RefreshPathIndex();
        m_model.RowsChanged(nRow, nRow);
        return;
    }
    m_model.BeginRemove(nRow, nRow);
    m_list.RemoveAt(nRow);
    // The record was indexed under its old path; the index is built again without it.
    m_list.RefreshPathIndex();
    m_model.EndRemove();
}
