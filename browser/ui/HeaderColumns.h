// The file list's columns as the column manager sees them: the sections of the view's header
// over the columns of its model. Sections keep at least their column's minimum width.
#pragma once

#include "browser/ColumnManager.h"

class CFileListModel;
class QAbstractItemView;
class QHeaderView;

class CHeaderColumns : public IColumnListCtrl
{
public:
    CHeaderColumns(QAbstractItemView& view, QHeaderView& header, CFileListModel& model);

    int GetColumnCount() const override;
    int InsertColumn(int nPosition, const CString& strTitle, int nAlign, int nWidth, int nSubItem,
                     int nMinWidth, int nDefaultWidth, int nData) override;
    void DeleteColumn(int nIndex) override;
    int GetColumnWidth(int nIndex) const override;
    int GetColumnData(int nIndex) const override;
    std::vector<int> GetColumnOrder() const override;
    void SetColumnOrder(const std::vector<int>& arrOrder) override;

    // Every column as wide as its contents (not its header text), never below its minimum.
    void SizeAllColumns();

private:
    void OnSectionResized(int nSection, int nNewSize);

    QAbstractItemView& m_view;
    QHeaderView& m_header;
    CFileListModel& m_model;
};
