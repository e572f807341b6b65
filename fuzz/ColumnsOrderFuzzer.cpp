// The "ColumnsOrder" value over arbitrary bytes, for the file list's columns: decoded, checked
// and applied as at the list's creation. A layout that is applied shows exactly its columns, and
// storing it gives back the bytes it came from.
#include "FuzzInput.h"

#include "base/ProfileStore.h"
#include "browser/ColumnManager.h"
#include "browser/ColumnTable.h"

#include <algorithm>
#include <vector>

namespace
{

// A list header: columns by index with their data values, and a display order.
class CHeader : public IColumnListCtrl
{
public:
    int GetColumnCount() const override { return static_cast<int>(m_columns.size()); }
    int InsertColumn(int nPosition, const CString&, int, int nWidth, int, int, int,
                     int nData) override
    {
        const int n = std::clamp(nPosition, 0, GetColumnCount());
        m_columns.insert(m_columns.begin() + n, {nWidth, nData});
        for (int& nOrder : m_order)
        {
            if (nOrder >= n)
                ++nOrder;
        }
        m_order.push_back(n);
        return n;
    }
    void DeleteColumn(int nIndex) override
    {
        Fuzz::Check(nIndex >= 0 && nIndex < GetColumnCount(), "deleting a column that exists");
        m_columns.erase(m_columns.begin() + nIndex);
        m_order.erase(std::find(m_order.begin(), m_order.end(), nIndex));
        for (int& nOrder : m_order)
        {
            if (nOrder > nIndex)
                --nOrder;
        }
    }
    int GetColumnWidth(int nIndex) const override
    {
        Fuzz::Check(nIndex >= 0 && nIndex < GetColumnCount(), "the width of a column that exists");
        return m_columns[static_cast<size_t>(nIndex)].nWidth;
    }
    int GetColumnData(int nIndex) const override
    {
        Fuzz::Check(nIndex >= 0 && nIndex < GetColumnCount(), "the data of a column that exists");
        return m_columns[static_cast<size_t>(nIndex)].nData;
    }
    std::vector<int> GetColumnOrder() const override { return m_order; }
    void SetColumnOrder(const std::vector<int>& arrOrder) override
    {
        std::vector<int> sorted = arrOrder;
        std::sort(sorted.begin(), sorted.end());
        for (size_t i = 0; i < sorted.size(); ++i)
            Fuzz::Check(sorted[i] == static_cast<int>(i), "an order names every column once");
        Fuzz::Check(sorted.size() == m_columns.size(), "an order names every column");
        m_order = arrOrder;
    }

private:
    struct tagCOLUMN
    {
        int nWidth;
        int nData;
    };
    std::vector<tagCOLUMN> m_columns;
    std::vector<int> m_order;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::vector<tagCOLUMNORDERENTRY> arrEntries = CColumnManager::DecodeLayout(pData, nSize);
    Fuzz::Check(arrEntries.size() == nSize / CColumnManager::ENTRY_SIZE, "8 bytes per entry");

    CHeader header;
    CColumnManager manager(header);
    AddFileListColumns(manager);
    const BOOL bValid = manager.IsValidLayout(arrEntries);

    CMemoryProfileStore store;
    store.WriteProfileBinary(CColumnManager::PROFILE_SECTION, CColumnManager::PROFILE_ENTRY, pData,
                             static_cast<UINT>(nSize));
    const BOOL bLoaded = manager.LoadColumns(store);
    Fuzz::Check(bLoaded == bValid, "a layout is restored exactly when it is valid");
    if (!bLoaded)
    {
        Fuzz::Check(header.GetColumnCount() == 0, "a refused layout shows no column");
        manager.ResetColumns();
        Fuzz::Check(header.GetColumnCount() > 0, "the default layout shows columns");
        return 0;
    }

    // Shown as stored: the same columns in the same order; widths at least the minimum.
    const std::vector<tagCOLUMNORDERENTRY> arrShown = manager.GetLayout();
    Fuzz::Check(arrShown.size() == arrEntries.size(), "every stored column is shown");
    for (size_t i = 0; i < arrShown.size(); ++i)
    {
        Fuzz::Check(arrShown[i].nIndex == arrEntries[i].nIndex, "in the stored order");
        const tagCOLUMNDATA* pColumn = manager.GetColumn(arrShown[i].nIndex);
        Fuzz::Check(pColumn != nullptr, "a shown column is in the table");
        Fuzz::Check(arrShown[i].nWidth == std::max(arrEntries[i].nWidth, pColumn->nMinWidth) ||
                        arrShown[i].nWidth == arrEntries[i].nWidth,
                    "at the stored width or the minimum");
    }
    CMemoryProfileStore saved;
    Fuzz::Check(manager.SaveColumns(saved) != FALSE, "a layout is stored");
    CHeader other;
    CColumnManager again(other);
    AddFileListColumns(again);
    Fuzz::Check(again.LoadColumns(saved) != FALSE, "a stored layout is restored");
    Fuzz::Check(again.GetLayout() == arrShown, "and shows the same");

    // The dialog over the restored layout, closed with OK, keeps it.
    const std::vector<tagCHOOSECOLUMNITEM> arrItems = manager.BeginChooseColumns();
    manager.EndChooseColumns(arrItems);
    Fuzz::Check(manager.GetLayout().size() == arrShown.size(), "OK keeps the shown columns");
    return 0;
}
