#include "browser/ui/FileListModel.h"

#include "browser/FileAssocData.h"
#include "browser/FileList.h"
#include "browser/ui/QtString.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace
{

Qt::Alignment ToAlignment(int nAlign)
{
    switch (nAlign)
    {
    case 1:
        return Qt::AlignRight | Qt::AlignVCenter;
    case 2:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

CFileListModel::CFileListModel(CFileList& list, const std::vector<QIcon>& arrIcons,
                               QObject* pParent)
    : QAbstractTableModel(pParent), m_list(list), m_arrIcons(arrIcons), m_nRows(list.GetCount())
{
}

int CFileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_nRows;
}

int CFileListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant CFileListModel::data(const QModelIndex& index, int nRole) const
{
    const tagMODELCOLUMN* pColumn = GetColumn(index.column());
    if (!pColumn || index.row() >= m_nRows)
        return QVariant();
    switch (nRole)
    {
    case Qt::DisplayRole:
    case Qt::EditRole:
    {
        const CFileAssocData* pRecord = m_list.GetRecord(index.row());
        return pRecord ? ToQString(pRecord->GetText(pColumn->nSubItem)) : QString();
    }
    case Qt::DecorationRole:
    {
        // The item's image stands in its first column, as the label's does.
        if (index.column() != 0)
            return QVariant();
        const int nImage = m_list.GetImage(index.row());
        if (nImage < 0 || nImage >= static_cast<int>(m_arrIcons.size()))
            return QVariant();
        return m_arrIcons[static_cast<size_t>(nImage)];
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(ToAlignment(pColumn->nAlign));
    default:
        return QVariant();
    }
}

QVariant CFileListModel::headerData(int nSection, Qt::Orientation orientation, int nRole) const
{
    if (orientation != Qt::Horizontal)
        return QVariant();
    const tagMODELCOLUMN* pColumn = GetColumn(nSection);
    if (!pColumn)
        return QVariant();
    if (nRole == Qt::DisplayRole)
        return pColumn->strTitle;
    if (nRole == Qt::TextAlignmentRole)
        return QVariant::fromValue(ToAlignment(pColumn->nAlign));
    return QVariant();
}

Qt::ItemFlags CFileListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    // Only the label (the first column) is edited in place.
    if (index.column() == 0)
        flags |= Qt::ItemIsEditable;
    return flags;
}

int CFileListModel::InsertColumn(int nPosition, const tagMODELCOLUMN& column)
{
    const int nCount = static_cast<int>(m_columns.size());
    if (nPosition < 0 || nPosition > nCount)
        nPosition = nCount;
    beginInsertColumns(QModelIndex(), nPosition, nPosition);
    m_columns.insert(m_columns.begin() + nPosition, column);
    endInsertColumns();
    return nPosition;
}

void CFileListModel::RemoveColumn(int nIndex)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_columns.size()))
        return;
    beginRemoveColumns(QModelIndex(), nIndex, nIndex);
    m_columns.erase(m_columns.begin() + nIndex);
    endRemoveColumns();
}

const CFileListModel::tagMODELCOLUMN* CFileListModel::GetColumn(int nIndex) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_columns.size()))
        return nullptr;
    return &m_columns[static_cast<size_t>(nIndex)];
}

void CFileListModel::Freeze()
{
    ++m_nFreeze;
}

void CFileListModel::Thaw()
{
    if (m_nFreeze == 0 || --m_nFreeze > 0)
        return;
    const int nCount = m_list.GetCount();
    if (nCount > m_nRows)
    {
        beginInsertRows(QModelIndex(), m_nRows, nCount - 1);
        m_nRows = nCount;
        endInsertRows();
        emit rowCountChanged(m_nRows);
    }
    else if (nCount < m_nRows)
    {
        // Only appends happen while frozen; anything else is shown afresh.
        BeginReset();
        EndReset();
    }
}

void CFileListModel::BeginAppend(int nIndex)
{
    if (m_nFreeze == 0)
        beginInsertRows(QModelIndex(), nIndex, nIndex);
}

void CFileListModel::EndAppend()
{
    if (m_nFreeze > 0)
        return;
    m_nRows = m_list.GetCount();
    endInsertRows();
    emit rowCountChanged(m_nRows);
}

void CFileListModel::BeginRemove(int nFirst, int nLast)
{
    beginRemoveRows(QModelIndex(), nFirst, nLast);
}

void CFileListModel::EndRemove()
{
    m_nRows = m_list.GetCount();
    endRemoveRows();
    emit rowCountChanged(m_nRows);
}

void CFileListModel::BeginReset()
{
    beginResetModel();
}

void CFileListModel::EndReset()
{
    m_nRows = m_list.GetCount();
    endResetModel();
    emit rowCountChanged(m_nRows);
}

void CFileListModel::RemoveRows(const std::vector<int>& arrRowsIn)
{
    std::vector<int> arrRows;
    for (const int n : arrRowsIn)
    {
        if (n >= 0 && n < m_list.GetCount())
            arrRows.push_back(n);
    }
    std::sort(arrRows.begin(), arrRows.end());
    arrRows.erase(std::unique(arrRows.begin(), arrRows.end()), arrRows.end());
    if (arrRows.empty())
        return;
    // Runs of adjacent rows, removed from the last to the first; a scattered selection of many
    // runs is shown afresh instead, which stays linear.
    std::vector<std::pair<int, int>> arrRuns;
    for (const int n : arrRows)
    {
        if (!arrRuns.empty() && arrRuns.back().second + 1 == n)
            arrRuns.back().second = n;
        else
            arrRuns.emplace_back(n, n);
    }
    if (arrRuns.size() > 32)
    {
        BeginReset();
        m_list.RemoveItems(arrRows);
        EndReset();
        return;
    }
    for (auto it = arrRuns.rbegin(); it != arrRuns.rend(); ++it)
    {
        std::vector<int> arrRun;
        arrRun.reserve(static_cast<size_t>(it->second - it->first + 1));
        for (int n = it->first; n <= it->second; ++n)
            arrRun.push_back(n);
        BeginRemove(it->first, it->second);
        m_list.RemoveItems(std::move(arrRun));
        EndRemove();
    }
}

std::vector<int> CFileListModel::Reorder(const std::function<void()>& change)
{
    const int nCount = m_list.GetCount();
    std::unordered_map<const CFileAssocData*, int> oldRows;
    oldRows.reserve(static_cast<size_t>(nCount));
    for (int i = 0; i < nCount; ++i)
        oldRows.emplace(m_list.GetRecord(i), i);

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    change();
    std::vector<int> newRows(static_cast<size_t>(nCount), 0);
    for (int i = 0; i < m_list.GetCount() && i < nCount; ++i)
    {
        const auto it = oldRows.find(m_list.GetRecord(i));
        if (it != oldRows.end())
            newRows[static_cast<size_t>(it->second)] = i;
    }
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& index : from)
    {
        const int nRow = index.row();
        to.append(nRow >= 0 && nRow < nCount
                      ? this->index(newRows[static_cast<size_t>(nRow)], index.column())
                      : QModelIndex());
    }
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    return newRows;
}

void CFileListModel::RowsChanged(int nFirst, int nLast)
{
    if (m_columns.empty() || nFirst > nLast || nFirst >= m_nRows)
        return;
    emit dataChanged(index(nFirst, 0),
                     index(std::min(nLast, m_nRows - 1), static_cast<int>(m_columns.size()) - 1));
}
