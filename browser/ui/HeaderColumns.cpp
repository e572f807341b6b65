#include "browser/ui/HeaderColumns.h"

#include "browser/ui/FileListModel.h"
#include "browser/ui/QtString.h"

#include <QAbstractItemView>
#include <QHeaderView>

#include <algorithm>

CHeaderColumns::CHeaderColumns(QAbstractItemView& view, QHeaderView& header, CFileListModel& model)
    : m_view(view), m_header(header), m_model(model)
{
    QObject::connect(&m_header, &QHeaderView::sectionResized, &m_header,
                     [this](int nSection, int, int nNewSize)
                     { OnSectionResized(nSection, nNewSize); });
}

int CHeaderColumns::GetColumnCount() const
{
    return m_model.columnCount();
}

int CHeaderColumns::InsertColumn(int nPosition, const CString& strTitle, int nAlign, int nWidth,
                                 int nSubItem, int nMinWidth, int nDefaultWidth, int nData)
{
    CFileListModel::tagMODELCOLUMN column;
    column.strTitle = ToQString(strTitle);
    column.nAlign = nAlign;
    column.nSubItem = nSubItem;
    column.nMinWidth = nMinWidth;
    column.nDefaultWidth = nDefaultWidth;
    column.nData = nData;
    const int nIndex = m_model.InsertColumn(nPosition, column);
    m_header.resizeSection(nIndex, std::max(nWidth, nMinWidth));
    // A new column stands at its position in the display order as well.
    const int nVisual = m_header.visualIndex(nIndex);
    if (nVisual >= 0 && nVisual != nIndex)
        m_header.moveSection(nVisual, nIndex);
    return nIndex;
}

void CHeaderColumns::DeleteColumn(int nIndex)
{
    m_model.RemoveColumn(nIndex);
}

int CHeaderColumns::GetColumnWidth(int nIndex) const
{
    return m_header.sectionSize(nIndex);
}

int CHeaderColumns::GetColumnData(int nIndex) const
{
    const CFileListModel::tagMODELCOLUMN* pColumn = m_model.GetColumn(nIndex);
    return pColumn ? pColumn->nData : -1;
}

std::vector<int> CHeaderColumns::GetColumnOrder() const
{
    std::vector<int> arrOrder;
    for (int n = 0; n < m_header.count(); ++n)
        arrOrder.push_back(m_header.logicalIndex(n));
    return arrOrder;
}

void CHeaderColumns::SetColumnOrder(const std::vector<int>& arrOrder)
{
    for (size_t n = 0; n < arrOrder.size() && static_cast<int>(n) < m_header.count(); ++n)
    {
        const int nLogical = arrOrder[n];
        if (nLogical < 0 || nLogical >= m_header.count())
            continue;
        const int nVisual = m_header.visualIndex(nLogical);
        if (nVisual != static_cast<int>(n))
            m_header.moveSection(nVisual, static_cast<int>(n));
    }
}

void CHeaderColumns::SizeAllColumns()
{
    for (int n = 0; n < m_model.columnCount(); ++n)
    {
        const CFileListModel::tagMODELCOLUMN* pColumn = m_model.GetColumn(n);
        const int nMin = pColumn ? pColumn->nMinWidth : 0;
        m_header.resizeSection(n, std::max(m_view.sizeHintForColumn(n), nMin));
    }
}

void CHeaderColumns::OnSectionResized(int nSection, int nNewSize)
{
    const CFileListModel::tagMODELCOLUMN* pColumn = m_model.GetColumn(nSection);
    if (pColumn && nNewSize < pColumn->nMinWidth)
        m_header.resizeSection(nSection, pColumn->nMinWidth);
}
