#include "browser/ColumnManager.h"

#include "base/LeadingInteger.h"
#include "base/ProfileStore.h"

#include <algorithm>
#include <limits>

namespace
{

void PutInt32(std::vector<BYTE>& out, int nValue)
{
    const auto n = static_cast<std::uint32_t>(nValue);
    out.push_back(static_cast<BYTE>(n & 0xFF));
    out.push_back(static_cast<BYTE>((n >> 8) & 0xFF));
    out.push_back(static_cast<BYTE>((n >> 16) & 0xFF));
    out.push_back(static_cast<BYTE>((n >> 24) & 0xFF));
}

int GetInt32(const BYTE* p)
{
    const std::uint32_t n =
        static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    return static_cast<int>(n);
}

} // namespace

int CColumnManager::AddColumn(const CString& strTitle, WORD nFlags, int nWidth, int nMinWidth,
                              int nID)
{
    tagCOLUMNDATA column;
    column.pszTitle = strTitle;
    column.nFlags = nFlags;
    column.nID = nID;
    column.nWidth = nWidth;
    column.nDefaultWidth = nWidth;
    column.nMinWidth = nMinWidth;
    m_columns.push_back(std::move(column));
    return GetColumnCount() - 1;
}

const tagCOLUMNDATA* CColumnManager::GetColumn(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetColumnCount())
        return nullptr;
    return &m_columns[static_cast<size_t>(nIndex)];
}

int CColumnManager::InsertColumn(int nPosition, int nIndex)
{
    if (nIndex < 0 || nIndex >= GetColumnCount())
        return -1;
    tagCOLUMNDATA& column = m_columns[static_cast<size_t>(nIndex)];
    const int nHeader =
        m_list.InsertColumn(nPosition, column.pszTitle, column.nFlags & COLF_ALIGN_MASK,
                            std::max(column.nWidth, column.nMinWidth), column.nID, column.nMinWidth,
                            column.nDefaultWidth, nIndex);
    column.nHeaderIndex = nHeader;
    return nHeader;
}

void CColumnManager::DeleteAllColumns()
{
    for (int n = m_list.GetColumnCount(); n > 0; --n)
        m_list.DeleteColumn(0);
}

void CColumnManager::InsertVisible(const std::vector<int>& arrOrder)
{
    int nPosition = 0;
    for (int i = 0; i < GetColumnCount(); ++i)
    {
        if (m_columns[static_cast<size_t>(i)].bVisible)
            InsertColumn(nPosition++, i);
    }
    std::vector<int> arrHeaderOrder;
    arrHeaderOrder.reserve(arrOrder.size());
    for (const int nIndex : arrOrder)
    {
        const int nHeader = m_columns[static_cast<size_t>(nIndex)].nHeaderIndex;
        if (nHeader >= 0)
            arrHeaderOrder.push_back(nHeader);
    }
    m_list.SetColumnOrder(arrHeaderOrder);
}

BOOL CColumnManager::IsValidLayout(const std::vector<tagCOLUMNORDERENTRY>& arrEntries) const
{
    if (arrEntries.size() > m_columns.size())
        return FALSE;
    std::vector<char> seen(m_columns.size(), 0);
    for (const tagCOLUMNORDERENTRY& entry : arrEntries)
    {
        if (entry.nIndex < 0 || entry.nIndex >= GetColumnCount())
            return FALSE;
        // A column shown twice would give the list an order it cannot take.
        if (seen[static_cast<size_t>(entry.nIndex)])
            return FALSE;
        seen[static_cast<size_t>(entry.nIndex)] = 1;
    }
    // The dialog never lets a mandatory column go, so a layout without one is damaged.
    for (size_t i = 0; i < m_columns.size(); ++i)
    {
        if ((m_columns[i].nFlags & COLF_MANDATORY) && !seen[i])
            return FALSE;
    }
    return TRUE;
}

BOOL CColumnManager::ApplyLayout(const std::vector<tagCOLUMNORDERENTRY>& arrEntries)
{
    DeleteAllColumns();
    for (tagCOLUMNDATA& column : m_columns)
        column.bVisible = FALSE;
    if (!IsValidLayout(arrEntries))
        return FALSE;
    std::vector<int> arrOrder;
    arrOrder.reserve(arrEntries.size());
    for (const tagCOLUMNORDERENTRY& entry : arrEntries)
    {
        tagCOLUMNDATA& column = m_columns[static_cast<size_t>(entry.nIndex)];
        column.bVisible = TRUE;
        column.nWidth = entry.nWidth;
        arrOrder.push_back(entry.nIndex);
    }
    InsertVisible(arrOrder);
    return TRUE;
}

std::vector<tagCOLUMNORDERENTRY> CColumnManager::GetLayout() const
{
    const int nCount = m_list.GetColumnCount();
    std::vector<int> arrOrder = m_list.GetColumnOrder();
    // An order the list cannot vouch for is read as the insertion order.
    std::vector<int> arrSorted = arrOrder;
    std::sort(arrSorted.begin(), arrSorted.end());
    bool bValid = static_cast<int>(arrOrder.size()) == nCount;
    for (int i = 0; bValid && i < nCount; ++i)
        bValid = arrSorted[static_cast<size_t>(i)] == i;
    if (!bValid)
    {
        arrOrder.resize(static_cast<size_t>(std::max(nCount, 0)));
        for (int i = 0; i < nCount; ++i)
            arrOrder[static_cast<size_t>(i)] = i;
    }
    std::vector<tagCOLUMNORDERENTRY> arrEntries;
    arrEntries.reserve(arrOrder.size());
    for (const int nHeader : arrOrder)
        arrEntries.push_back({m_list.GetColumnData(nHeader), m_list.GetColumnWidth(nHeader)});
    return arrEntries;
}

std::vector<BYTE> CColumnManager::EncodeLayout(const std::vector<tagCOLUMNORDERENTRY>& arrEntries)
{
    std::vector<BYTE> data;
    data.reserve(arrEntries.size() * ENTRY_SIZE);
    for (const tagCOLUMNORDERENTRY& entry : arrEntries)
    {
        PutInt32(data, entry.nIndex);
        PutInt32(data, entry.nWidth);
    }
    return data;
}

std::vector<tagCOLUMNORDERENTRY> CColumnManager::DecodeLayout(const BYTE* pData, std::size_t nBytes)
{
    std::vector<tagCOLUMNORDERENTRY> arrEntries;
    if (!pData)
        return arrEntries;
    const std::size_t nEntries = nBytes / ENTRY_SIZE;
    arrEntries.reserve(nEntries);
    for (std::size_t i = 0; i < nEntries; ++i)
    {
        const BYTE* p = pData + i * ENTRY_SIZE;
        arrEntries.push_back({GetInt32(p), GetInt32(p + 4)});
    }
    return arrEntries;
}

BOOL CColumnManager::LoadColumns(const IProfileStore& store)
{
    DeleteAllColumns();
    for (tagCOLUMNDATA& column : m_columns)
        column.bVisible = FALSE;
    std::vector<BYTE> data;
    if (!store.GetProfileBinary(PROFILE_SECTION, PROFILE_ENTRY, data))
        return FALSE;
    // More entries than columns is rejected before anything is decoded.
    if (data.size() / ENTRY_SIZE > m_columns.size())
        return FALSE;
    return ApplyLayout(DecodeLayout(data.data(), data.size()));
}

BOOL CColumnManager::SaveColumns(IProfileStore& store) const
{
    const std::vector<BYTE> data = EncodeLayout(GetLayout());
    return store.WriteProfileBinary(PROFILE_SECTION, PROFILE_ENTRY, data.data(),
                                    static_cast<UINT>(data.size()));
}

void CColumnManager::ResetColumns()
{
    DeleteAllColumns();
    std::vector<int> arrOrder;
    for (int i = 0; i < GetColumnCount(); ++i)
    {
        tagCOLUMNDATA& column = m_columns[static_cast<size_t>(i)];
        column.bVisible = (column.nFlags & COLF_DEFAULT) ? TRUE : FALSE;
        if (column.bVisible)
        {
            column.nWidth = column.nDefaultWidth;
            arrOrder.push_back(i);
        }
    }
    InsertVisible(arrOrder);
}

// --- The "Choose Columns" dialog ---

std::vector<tagCHOOSECOLUMNITEM> CColumnManager::BeginChooseColumns()
{
    for (tagCOLUMNDATA& column : m_columns)
    {
        column.bVisible = FALSE;
        column.nEditWidth = column.nDefaultWidth;
    }
    std::vector<tagCHOOSECOLUMNITEM> arrItems;
    for (const tagCOLUMNORDERENTRY& entry : GetLayout())
    {
        if (entry.nIndex < 0 || entry.nIndex >= GetColumnCount())
            continue;
        tagCOLUMNDATA& column = m_columns[static_cast<size_t>(entry.nIndex)];
        if (column.bVisible)
            continue;
        column.nWidth = entry.nWidth;
        column.nEditWidth = entry.nWidth;
        column.bVisible = TRUE;
        arrItems.push_back({entry.nIndex, TRUE});
    }
    for (int i = 0; i < GetColumnCount(); ++i)
    {
        const tagCOLUMNDATA& column = m_columns[static_cast<size_t>(i)];
        if (!column.bVisible)
            arrItems.push_back({i, (column.nFlags & COLF_MANDATORY) ? TRUE : FALSE});
    }
    return arrItems;
}

BOOL CColumnManager::IsMandatory(int nIndex) const
{
    const tagCOLUMNDATA* pColumn = GetColumn(nIndex);
    return pColumn && (pColumn->nFlags & COLF_MANDATORY) ? TRUE : FALSE;
}

BOOL CColumnManager::CanUncheck(int nIndex) const
{
    return GetColumn(nIndex) && !IsMandatory(nIndex);
}

int CColumnManager::GetEditWidth(int nIndex) const
{
    const tagCOLUMNDATA* pColumn = GetColumn(nIndex);
    return pColumn ? pColumn->nEditWidth : 0;
}

int CColumnManager::SetEditWidth(int nIndex, const CString& strText)
{
    if (nIndex < 0 || nIndex >= GetColumnCount())
        return 0;
    tagCOLUMNDATA& column = m_columns[static_cast<size_t>(nIndex)];
    // The box takes digits only; anything after the leading digits is not read, and a number
    // too large for a width is held at the largest one.
    const LONGLONG nValue =
        std::min<LONGLONG>(GetLeadingInteger(strText), std::numeric_limits<int>::max());
    column.nEditWidth = nValue > column.nMinWidth ? static_cast<int>(nValue) : column.nMinWidth;
    return column.nEditWidth;
}

int CColumnManager::MoveChooseItem(std::vector<tagCHOOSECOLUMNITEM>& arrItems, int nItem, BOOL bUp)
{
    const int nCount = static_cast<int>(arrItems.size());
    if (nItem < 0 || nItem >= nCount)
        return nItem;
    const int nTarget = bUp ? nItem - 1 : nItem + 1;
    if (nTarget < 0 || nTarget >= nCount)
        return nItem;
    std::swap(arrItems[static_cast<size_t>(nItem)], arrItems[static_cast<size_t>(nTarget)]);
    return nTarget;
}

void CColumnManager::EndChooseColumns(const std::vector<tagCHOOSECOLUMNITEM>& arrItems)
{
    for (tagCOLUMNDATA& column : m_columns)
        column.bVisible = FALSE;
    std::vector<char> listed(m_columns.size(), 0);
    std::vector<int> arrOrder;
    const auto show = [this, &arrOrder](int nIndex)
    {
        tagCOLUMNDATA& column = m_columns[static_cast<size_t>(nIndex)];
        column.bVisible = TRUE;
        column.nWidth = column.nEditWidth;
        arrOrder.push_back(nIndex);
    };
    for (const tagCHOOSECOLUMNITEM& item : arrItems)
    {
        if (item.nIndex < 0 || item.nIndex >= GetColumnCount() ||
            listed[static_cast<size_t>(item.nIndex)])
            continue;
        listed[static_cast<size_t>(item.nIndex)] = 1;
        // A mandatory column stays whatever the items say.
        if (item.bChecked || IsMandatory(item.nIndex))
            show(item.nIndex);
    }
    for (int i = 0; i < GetColumnCount(); ++i)
    {
        if (!listed[static_cast<size_t>(i)] && IsMandatory(i))
            show(i);
    }
    DeleteAllColumns();
    InsertVisible(arrOrder);
}
