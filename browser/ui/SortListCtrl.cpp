#include "browser/ui/SortListCtrl.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelection>

CSortListCtrl::CSortListCtrl(QWidget* pParent) : QTableView(pParent)
{
    // The list never sorts by itself and always has a clickable header.
    setSortingEnabled(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            &CSortListCtrl::OnHeaderClicked);
}

int CSortListCtrl::SortByColumn(int nColumn, BOOL bAscending)
{
    const int nOldColumn = m_nSortColumn;
    m_nSortColumn = nColumn;
    m_bSortAscending = bAscending;
    QHeaderView* pHeader = horizontalHeader();
    if (nColumn < 0)
    {
        pHeader->setSortIndicatorShown(false);
        pHeader->setSortIndicator(-1, Qt::AscendingOrder);
        return nOldColumn;
    }
    pHeader->setSortIndicator(nColumn, bAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
    pHeader->setSortIndicatorShown(true);
    CWaitCursor wait;
    SortItems(nColumn, bAscending);
    return nOldColumn;
}

void CSortListCtrl::OnHeaderClicked(int nSection)
{
    SortByColumn(nSection, !m_bSortAscending);
}

std::vector<int> CSortListCtrl::GetSelectedRows() const
{
    std::vector<int> arrRows;
    if (!selectionModel() || !model())
        return arrRows;
    const int nCount = model()->rowCount();
    // Ranges may overlap after toggles, so the rows are marked first: linear in the count.
    std::vector<char> selected(static_cast<size_t>(nCount), 0);
    bool bAny = false;
    for (const QItemSelectionRange& range : selectionModel()->selection())
    {
        for (int n = std::max(range.top(), 0); n <= range.bottom() && n < nCount; ++n)
        {
            selected[static_cast<size_t>(n)] = 1;
            bAny = true;
        }
    }
    if (!bAny)
        return arrRows;
    for (int n = 0; n < nCount; ++n)
    {
        if (selected[static_cast<size_t>(n)])
            arrRows.push_back(n);
    }
    return arrRows;
}

int CSortListCtrl::GetSelectedCount() const
{
    return static_cast<int>(GetSelectedRows().size());
}

void CSortListCtrl::SelectRows(const std::vector<int>& arrRows)
{
    if (!selectionModel() || !model())
        return;
    const int nColumns = model()->columnCount();
    QItemSelection selection;
    size_t i = 0;
    while (i < arrRows.size())
    {
        size_t j = i;
        while (j + 1 < arrRows.size() && arrRows[j + 1] == arrRows[j] + 1)
            ++j;
        if (nColumns > 0)
            selection.append(QItemSelectionRange(model()->index(arrRows[i], 0),
                                                 model()->index(arrRows[j], nColumns - 1)));
        i = j + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

CWaitCursor::CWaitCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor()
{
    QGuiApplication::restoreOverrideCursor();
}
