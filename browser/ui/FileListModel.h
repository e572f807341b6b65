// CFileListModel: the table model behind the file list. Rows are CFileList's items, columns the
// list columns the column manager inserted; a cell's text is formatted from the record only when
// the view asks for it.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>

#include <functional>
#include <vector>

class CFileList;

class CFileListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // One list column.
    struct tagMODELCOLUMN
    {
        QString strTitle;
        int nAlign = 0;   // 0 left, 1 right, 2 centre
        int nSubItem = 0; // the record field shown
        int nMinWidth = 0;
        int nDefaultWidth = 0;
        int nData = 0; // the header item's data value
    };

    CFileListModel(CFileList& list, const std::vector<QIcon>& arrIcons, QObject* pParent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation, int nRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // --- Columns ---
    int InsertColumn(int nPosition, const tagMODELCOLUMN& column);
    void RemoveColumn(int nIndex);
    const tagMODELCOLUMN* GetColumn(int nIndex) const;

    // --- Rows, told by the view around each change of the list ---

    // While frozen (nested), appended items are not announced; Thaw announces them at once.
    void Freeze();
    void Thaw();
    bool IsFrozen() const { return m_nFreeze > 0; }
    void BeginAppend(int nIndex);
    void EndAppend();
    // The rows from nFirst to nLast are about to go, and are gone.
    void BeginRemove(int nFirst, int nLast);
    void EndRemove();
    void BeginReset();
    void EndReset();
    // Removes the items at the rows (any order, out-of-range ones ignored) with their records.
    void RemoveRows(const std::vector<int>& arrRows);
    // Runs a change of the item order (count unchanged); indexes the view keeps (the current
    // item, an editor) follow their records. Returns the new row of each old row.
    std::vector<int> Reorder(const std::function<void()>& change);
    // The texts of rows changed.
    void RowsChanged(int nFirst, int nLast);

signals:
    // The number of rows the view shows changed.
    void rowCountChanged(int nCount);

private:
    CFileList& m_list;
    const std::vector<QIcon>& m_arrIcons;
    std::vector<tagMODELCOLUMN> m_columns;
    // The rows the view knows of: the list's count, except while frozen.
    int m_nRows = 0;
    int m_nFreeze = 0;
};
