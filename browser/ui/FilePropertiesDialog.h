// CFilePropertiesDialog: everything the program knows about one file, read fresh from disk when
// the dialog opens: its tags, its MPEG audio properties and its file-system data, as name and
// value rows in the groups "Media", "Tags", "MPEG Info" and "File". It only reads.
#pragma once

#include "base/String.h"

#include <QDialog>

#include <array>

class QTreeWidget;
class QTreeWidgetItem;

class CFilePropertiesDialog : public QDialog
{
    Q_OBJECT

public:
    // The group ids of AddPropertyRow, in display order.
    enum Group : int
    {
        GROUP_MEDIA = 1,
        GROUP_TAGS = 2,
        GROUP_MPEG_INFO = 3,
        GROUP_FILE = 4
    };

    explicit CFilePropertiesDialog(QWidget* pParent = nullptr);
    ~CFilePropertiesDialog() override;

    // Reads the file at m_strPath and shows the dialog modally: QDialog::Accepted when it was
    // closed with OK, QDialog::Rejected when it was cancelled or the file could not be opened
    // (after the error message, without showing the dialog).
    int DoModal();

    // Appends a row to the group (GROUP_...); an unknown group id adds nothing.
    void AddPropertyRow(const CString& strName, const CString& strValue, int nGroup);

    // The property list: one top-level row per group, the properties below it.
    QTreeWidget* GetList() const { return m_pList; }

    // The full path of the file, set before DoModal.
    CString m_strPath;

private:
    // Fills the list from the file; FALSE (after the error message) when it would not open.
    BOOL OnInitDialog();
    void ClearRows();
    // Groups without rows are not shown, as in a grouped list view.
    void ShowGroups();

    QTreeWidget* m_pList = nullptr;
    // The group rows by group id - 1; owned by the list.
    std::array<QTreeWidgetItem*, 4> m_arrGroups = {};
};
