// The in-place rename of the file list: the label editor on an item's name, and on commit the
// move of the file within its folder, its row shown again (or dropped when the renamed file can
// no longer be read). A refused name is reported with the system's reason.
#pragma once

#include "base/String.h"

#include <QString>

#include <functional>

class CFileAssocData;
class CFileList;
class CFileListModel;
class CLabelEditDelegate;
class CUndoHistory;
class QAbstractItemView;
class QLineEdit;

class CInPlaceRename
{
public:
    // Becomes the view's item delegate.
    CInPlaceRename(QAbstractItemView& view, CFileList& list, CFileListModel& model);

    // Where a rename is recorded for Undo, asked at each rename; null records nothing.
    void SetUndoHistory(std::function<CUndoHistory*()> getHistory)
    {
        m_getHistory = std::move(getHistory);
    }

    // Opens the editor on the row's first column, the name selected up to its extension.
    void Start(int nRow);
    // The edit box of a rename in progress, if any.
    QLineEdit* GetEditor() const;

private:
    void OnEndLabelEdit(int nRow, const QString& strText);
    void Finish();
    void RenameRecord(CFileAssocData& record, const CString& strName);

    QAbstractItemView& m_view;
    CFileList& m_list;
    CFileListModel& m_model;
    // Owned by the view (its QObject child).
    CLabelEditDelegate* m_pDelegate = nullptr;
    // A finished label edit waits here until the editor has closed.
    const CFileAssocData* m_pRenameRecord = nullptr;
    QString m_strRenameText;
    std::function<CUndoHistory*()> m_getHistory;
};
