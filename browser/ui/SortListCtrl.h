// CSortListCtrl: a report list whose items the owner sorts by a clicked column, with the sort
// mark in the header. The direction flips on every header click, also when another column is
// clicked.
#pragma once

#include "base/Types.h"

#include <QTableView>

#include <vector>

class CSortListCtrl : public QTableView
{
    Q_OBJECT

public:
    explicit CSortListCtrl(QWidget* pParent = nullptr);

    // Sorts by the list column (-1: none, the order stays and the mark goes); returns the
    // previous sort column.
    int SortByColumn(int nColumn, BOOL bAscending);
    int GetSortColumn() const { return m_nSortColumn; }
    BOOL IsSortAscending() const { return m_bSortAscending; }

    // The selected rows, ascending.
    std::vector<int> GetSelectedRows() const;
    int GetSelectedCount() const;
    // Selects exactly these rows (ascending), one range per run of adjacent rows.
    void SelectRows(const std::vector<int>& arrRows);

protected:
    // Orders the items by the list column; the derived class owns the items.
    virtual void SortItems(int nColumn, BOOL bAscending) = 0;

private:
    void OnHeaderClicked(int nSection);

    BOOL m_bSortAscending = TRUE;
    int m_nSortColumn = -1;
};

// The wait cursor for the life of the object.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
