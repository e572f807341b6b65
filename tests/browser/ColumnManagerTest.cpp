#include "browser/ColumnManager.h"
#include "base/ProfileStore.h"
#include "browser/ColumnTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

// A list header as the platform keeps it: columns by index, each with its data value, and a
// separate display order that follows insertions and deletions.
class CFakeHeader : public IColumnListCtrl
{
public:
    struct tagCOLUMN
    {
        CString strTitle;
        int nAlign = 0;
        int nWidth = 0;
        int nSubItem = 0;
        int nMinWidth = 0;
        int nDefaultWidth = 0;
        int nData = 0;
    };

    int GetColumnCount() const override { return static_cast<int>(m_columns.size()); }
    int InsertColumn(int nPosition, const CString& strTitle, int nAlign, int nWidth, int nSubItem,
                     int nMinWidth, int nDefaultWidth, int nData) override
    {
        const int n = std::clamp(nPosition, 0, GetColumnCount());
        m_columns.insert(m_columns.begin() + n,
                         {strTitle, nAlign, nWidth, nSubItem, nMinWidth, nDefaultWidth, nData});
        for (int& nOrder : m_order)
        {
            if (nOrder >= n)
                ++nOrder;
        }
        m_order.insert(m_order.begin() + std::min<int>(n, static_cast<int>(m_order.size())), n);
        return n;
    }
    void DeleteColumn(int nIndex) override
    {
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
        return m_columns[static_cast<size_t>(nIndex)].nWidth;
    }
    int GetColumnData(int nIndex) const override
    {
        return m_columns[static_cast<size_t>(nIndex)].nData;
    }
    std::vector<int> GetColumnOrder() const override { return m_order; }
    void SetColumnOrder(const std::vector<int>& arrOrder) override
    {
        ASSERT_EQ(arrOrder.size(), m_columns.size());
        m_order = arrOrder;
    }

    // The titles and widths from left to right.
    std::vector<std::string> Shown() const
    {
        std::vector<std::string> arr;
        for (const int n : m_order)
            arr.push_back(m_columns[static_cast<size_t>(n)].strTitle.ToUtf8() + ":" +
                          std::to_string(m_columns[static_cast<size_t>(n)].nWidth));
        return arr;
    }

    std::vector<tagCOLUMN> m_columns;
    std::vector<int> m_order;
};

// The file list's manager over a fake header.
struct tagSETUP
{
    tagSETUP() { AddFileListColumns(manager); }
    CFakeHeader header;
    CColumnManager manager{header};
    CMemoryProfileStore store;

    void Store(const std::vector<BYTE>& data)
    {
        store.WriteProfileBinary(u"Settings", u"ColumnsOrder", data.data(),
                                 static_cast<UINT>(data.size()));
    }
    std::vector<BYTE> Stored() const
    {
        std::vector<BYTE> data;
        EXPECT_TRUE(store.GetProfileBinary(u"Settings", u"ColumnsOrder", data));
        return data;
    }
    // What the list does when it is created.
    void Create()
    {
        if (!manager.LoadColumns(store))
            manager.ResetColumns();
    }
};

const std::vector<std::string> DEFAULT_SHOWN = {
    "Filename:200", "Size:80",   "Date modified:120", "Tag:80",         "Title:90",
    "Artist:90",    "Album:90",  "Genre:90",          "Year:80",        "Comment:80",
    "Track#:80",    "Length:80", "Bitrate:80",        "Sample rate:80", "Channels:80"};

std::vector<BYTE> Encode(const std::vector<tagCOLUMNORDERENTRY>& arr)
{
    return CColumnManager::EncodeLayout(arr);
}

} // namespace

TEST(ColumnTableTest, TheFileListColumns)
{
    const WORD arrFlags[] = {12, 5, 1, 5, 1, 0, 4, 4, 4, 4, 4, 5, 4, 5, 5, 5, 5, 5};
    const tagCOLUMNDEF* pTable = GetFileListColumns();
    tagSETUP s;
    ASSERT_EQ(s.manager.GetColumnCount(), FILE_LIST_COLUMN_COUNT);
    for (int i = 0; i < FILE_LIST_COLUMN_COUNT; ++i)
    {
        const tagCOLUMNDATA* p = s.manager.GetColumn(i);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->nFlags, arrFlags[i]) << i;
        EXPECT_EQ(p->nID, i);
        EXPECT_EQ(p->pszTitle, pTable[i].pszTitle);
        EXPECT_EQ(p->nWidth, pTable[i].nWidth);
        EXPECT_EQ(p->nDefaultWidth, pTable[i].nWidth);
        EXPECT_EQ(p->nMinWidth, pTable[i].nMinWidth);
        EXPECT_EQ(p->nEditWidth, 0);
        EXPECT_FALSE(p->bVisible);
    }
    EXPECT_EQ(s.manager.GetColumn(18), nullptr);
    EXPECT_EQ(s.manager.GetColumn(-1), nullptr);
    EXPECT_EQ(CString(pTable[2].pszTitle), u"Date created");
    EXPECT_EQ(CString(pTable[5].pszTitle), u"Folder");
    EXPECT_EQ(pTable[5].nMinWidth, 80);
    EXPECT_EQ(CString(pTable[16].pszTitle), u"Sample rate");
}

TEST(ColumnManagerTest, FirstStartShowsTheDefaultLayout)
{
    tagSETUP s;
    EXPECT_FALSE(s.manager.LoadColumns(s.store));
    EXPECT_EQ(s.header.GetColumnCount(), 0);
    s.manager.ResetColumns();
    EXPECT_EQ(s.header.Shown(), DEFAULT_SHOWN);
    // Sub-item numbers, alignment, the table index as data, minimum and default widths.
    const auto& size = s.header.m_columns[1];
    EXPECT_EQ(size.nSubItem, 1);
    EXPECT_EQ(size.nAlign, COLF_ALIGN_RIGHT);
    EXPECT_EQ(size.nData, 1);
    EXPECT_EQ(size.nMinWidth, 60);
    EXPECT_EQ(size.nDefaultWidth, 80);
    EXPECT_EQ(s.header.m_columns[2].nData, 3); // Date modified
    EXPECT_FALSE(s.manager.GetColumn(2)->bVisible);
    EXPECT_FALSE(s.store.HasValue(u"Settings", u"ColumnsOrder"));
}

TEST(ColumnManagerTest, StoredOrderAndWidthsComeBack)
{
    tagSETUP s;
    s.Create();
    // The user drags Title to the front and widens Filename.
    std::vector<int> arrOrder = s.header.GetColumnOrder();
    std::rotate(arrOrder.begin(), arrOrder.begin() + 4, arrOrder.begin() + 5);
    s.header.SetColumnOrder(arrOrder);
    s.header.m_columns[0].nWidth = 321;
    ASSERT_TRUE(s.manager.SaveColumns(s.store));
    const std::vector<BYTE> data = s.Stored();
    ASSERT_EQ(data.size(), 15u * 8);
    // {7, 90}, {0, 321}: little-endian table index and width.
    const std::vector<BYTE> arrHead = {7, 0, 0, 0, 90, 0, 0, 0, 0, 0, 0, 0, 0x41, 1, 0, 0};
    EXPECT_EQ(std::vector<BYTE>(data.begin(), data.begin() + 16), arrHead);

    tagSETUP t;
    t.store = s.store;
    ASSERT_TRUE(t.manager.LoadColumns(t.store));
    EXPECT_EQ(t.header.Shown(), s.header.Shown());
    EXPECT_EQ(t.header.Shown()[0], "Title:90");
    EXPECT_EQ(t.header.Shown()[1], "Filename:321");
    // Columns stand in table order in the list; only the display order differs.
    EXPECT_EQ(t.header.m_columns[0].nData, 0);
    ASSERT_TRUE(t.manager.SaveColumns(t.store));
    EXPECT_EQ(t.Stored(), data);
}

TEST(ColumnManagerTest, EncodingIsEightLittleEndianBytesPerEntry)
{
    const std::vector<tagCOLUMNORDERENTRY> arr = {{17, 0x01020304}, {0, -2}};
    const std::vector<BYTE> data = Encode(arr);
    const std::vector<BYTE> arrExpected = {17, 0, 0, 0, 4,    3,    2,    1,
                                           0,  0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(data, arrExpected);
    EXPECT_EQ(CColumnManager::DecodeLayout(data.data(), data.size()), arr);
    // Bytes after the last whole entry are not read.
    EXPECT_EQ(CColumnManager::DecodeLayout(data.data(), 15),
              std::vector<tagCOLUMNORDERENTRY>{arr[0]});
    EXPECT_TRUE(CColumnManager::DecodeLayout(data.data(), 7).empty());
    EXPECT_TRUE(CColumnManager::DecodeLayout(nullptr, 16).empty());
    EXPECT_TRUE(Encode({}).empty());
}

TEST(ColumnManagerTest, ExtraBytesAreIgnoredAndNarrowWidthsRaisedToTheMinimum)
{
    tagSETUP s;
    std::vector<BYTE> data = Encode({{5, 150}, {0, 10}});
    data.insert(data.end(), {1, 2, 3, 4, 5});
    s.Store(data);
    ASSERT_TRUE(s.manager.LoadColumns(s.store));
    EXPECT_EQ(s.header.Shown(), (std::vector<std::string>{"Folder:150", "Filename:80"}));
    EXPECT_EQ(s.manager.GetColumn(0)->nWidth, 10);
}

TEST(ColumnManagerTest, DamagedLayoutsGiveTheDefault)
{
    std::vector<tagCOLUMNORDERENTRY> arr19;
    for (int i = 0; i < 18; ++i)
        arr19.push_back({i, 50});
    const std::vector<tagCOLUMNORDERENTRY> arr18 = arr19;
    arr19.push_back({0, 50});

    const std::vector<std::vector<BYTE>> arrBad = {
        Encode(arr19),                        // more entries than columns
        Encode({{0, 100}, {18, 50}}),         // index past the table
        Encode({{0, 100}, {-1, 50}}),         // negative index
        Encode({{0, 100}, {3, 50}, {3, 60}}), // a column twice
        Encode({{1, 100}, {3, 50}}),          // the mandatory Filename missing
        {},                                   // nothing shown at all
        {1, 2, 3},                            // not even one entry
    };
    for (size_t i = 0; i < arrBad.size(); ++i)
    {
        tagSETUP s;
        s.Store(arrBad[i]);
        EXPECT_FALSE(s.manager.LoadColumns(s.store)) << i;
        EXPECT_EQ(s.header.GetColumnCount(), 0) << i;
        for (int n = 0; n < s.manager.GetColumnCount(); ++n)
            EXPECT_FALSE(s.manager.GetColumn(n)->bVisible) << i;
        s.Create();
        EXPECT_EQ(s.header.Shown(), DEFAULT_SHOWN) << i;
    }

    // All 18 columns is fine.
    tagSETUP s;
    s.Store(Encode(arr18));
    EXPECT_TRUE(s.manager.LoadColumns(s.store));
    EXPECT_EQ(s.header.GetColumnCount(), 18);
}

TEST(ColumnManagerTest, LoadReplacesTheShownColumnsAndResetRestoresTheDefault)
{
    tagSETUP s;
    s.Create();
    s.Store(Encode({{0, 100}, {2, 130}}));
    ASSERT_TRUE(s.manager.LoadColumns(s.store));
    EXPECT_EQ(s.header.Shown(), (std::vector<std::string>{"Filename:100", "Date created:130"}));
    s.manager.ResetColumns();
    EXPECT_EQ(s.header.Shown(), DEFAULT_SHOWN);
    EXPECT_FALSE(s.manager.GetColumn(2)->bVisible);
    EXPECT_EQ(s.manager.GetColumn(0)->nWidth, 200);
    // Reset is not stored until the next save.
    EXPECT_EQ(s.Stored(), Encode({{0, 100}, {2, 130}}));
}

TEST(ColumnChooserTest, OpeningListsShownColumnsFirst)
{
    tagSETUP s;
    s.Store(Encode({{7, 95}, {0, 210}, {1, 70}}));
    ASSERT_TRUE(s.manager.LoadColumns(s.store));
    const std::vector<tagCHOOSECOLUMNITEM> arrItems = s.manager.BeginChooseColumns();
    ASSERT_EQ(arrItems.size(), 18u);
    EXPECT_EQ(arrItems[0], (tagCHOOSECOLUMNITEM{7, TRUE}));
    EXPECT_EQ(arrItems[1], (tagCHOOSECOLUMNITEM{0, TRUE}));
    EXPECT_EQ(arrItems[2], (tagCHOOSECOLUMNITEM{1, TRUE}));
    EXPECT_EQ(arrItems[3], (tagCHOOSECOLUMNITEM{2, FALSE}));
    EXPECT_EQ(arrItems[17], (tagCHOOSECOLUMNITEM{17, FALSE}));
    // Shown columns edit their current width (70 is below Size's default), others the default.
    EXPECT_EQ(s.manager.GetEditWidth(1), 70);
    EXPECT_EQ(s.manager.GetEditWidth(2), 120);
    EXPECT_FALSE(s.manager.CanUncheck(0));
    EXPECT_TRUE(s.manager.IsMandatory(0));
    EXPECT_TRUE(s.manager.CanUncheck(1));
    EXPECT_FALSE(s.manager.CanUncheck(18));
}

TEST(ColumnChooserTest, MandatoryColumnIsCheckedWhenNotShown)
{
    // A layout can only lack Filename when damaged, so build that state through the list.
    tagSETUP s;
    s.manager.ResetColumns();
    s.header.DeleteColumn(0);
    const std::vector<tagCHOOSECOLUMNITEM> arrItems = s.manager.BeginChooseColumns();
    const auto it = std::find_if(arrItems.begin(), arrItems.end(),
                                 [](const tagCHOOSECOLUMNITEM& item) { return item.nIndex == 0; });
    ASSERT_NE(it, arrItems.end());
    EXPECT_EQ(it - arrItems.begin(), 14);
    EXPECT_TRUE(it->bChecked);
}

TEST(ColumnChooserTest, WidthBoxRules)
{
    tagSETUP s;
    s.manager.ResetColumns();
    s.manager.BeginChooseColumns();
    EXPECT_EQ(s.manager.SetEditWidth(1, u"5"), 60);
    EXPECT_EQ(s.manager.SetEditWidth(1, u"60"), 60);
    EXPECT_EQ(s.manager.SetEditWidth(1, u"61"), 61);
    EXPECT_EQ(s.manager.SetEditWidth(1, u"999"), 999);
    EXPECT_EQ(s.manager.SetEditWidth(1, u""), 60);
    EXPECT_EQ(s.manager.SetEditWidth(1, u"99999999999999"), 2147483647);
    EXPECT_EQ(s.manager.SetEditWidth(0, u"12x"), 80);
    EXPECT_EQ(s.manager.GetEditWidth(0), 80);
    EXPECT_EQ(s.manager.SetEditWidth(42, u"100"), 0);
}

TEST(ColumnChooserTest, MoveUpAndDown)
{
    std::vector<tagCHOOSECOLUMNITEM> arr = {{0, TRUE}, {1, FALSE}, {2, TRUE}};
    EXPECT_EQ(CColumnManager::MoveChooseItem(arr, 0, TRUE), 0);
    EXPECT_EQ(CColumnManager::MoveChooseItem(arr, 2, FALSE), 2);
    EXPECT_EQ(CColumnManager::MoveChooseItem(arr, -1, FALSE), -1);
    EXPECT_EQ(CColumnManager::MoveChooseItem(arr, 1, TRUE), 0);
    EXPECT_EQ(arr, (std::vector<tagCHOOSECOLUMNITEM>{{1, FALSE}, {0, TRUE}, {2, TRUE}}));
    EXPECT_EQ(CColumnManager::MoveChooseItem(arr, 1, FALSE), 2);
    EXPECT_EQ(arr, (std::vector<tagCHOOSECOLUMNITEM>{{1, FALSE}, {2, TRUE}, {0, TRUE}}));
}

TEST(ColumnChooserTest, OkShowsTheCheckedItemsInTheDialogOrder)
{
    tagSETUP s;
    s.manager.ResetColumns();
    std::vector<tagCHOOSECOLUMNITEM> arrItems = s.manager.BeginChooseColumns();
    // Uncheck everything but Filename and Title, check Folder, try to uncheck Filename, move
    // Folder to the top and give it a width.
    for (tagCHOOSECOLUMNITEM& item : arrItems)
        item.bChecked = item.nIndex == 0 || item.nIndex == 7 || item.nIndex == 5;
    arrItems[0].bChecked = FALSE; // Filename: the dialog refuses this; the manager holds it too
    int nFolder = static_cast<int>(std::find_if(arrItems.begin(), arrItems.end(),
                                                [](const tagCHOOSECOLUMNITEM& item)
                                                { return item.nIndex == 5; }) -
                                   arrItems.begin());
    while (nFolder > 0)
        nFolder = CColumnManager::MoveChooseItem(arrItems, nFolder, TRUE);
    s.manager.SetEditWidth(5, u"140");
    s.manager.EndChooseColumns(arrItems);
    EXPECT_EQ(s.header.Shown(),
              (std::vector<std::string>{"Folder:140", "Filename:200", "Title:90"}));
    ASSERT_TRUE(s.manager.SaveColumns(s.store));
    EXPECT_EQ(s.Stored(), Encode({{5, 140}, {0, 200}, {7, 90}}));
}

TEST(ColumnChooserTest, CancelLeavesTheListAsItWas)
{
    tagSETUP s;
    s.Create();
    s.header.m_columns[3].nWidth = 111;
    ASSERT_TRUE(s.manager.SaveColumns(s.store));
    const std::vector<BYTE> before = s.Stored();
    const std::vector<std::string> shown = s.header.Shown();
    std::vector<tagCHOOSECOLUMNITEM> arrItems = s.manager.BeginChooseColumns();
    CColumnManager::MoveChooseItem(arrItems, 3, TRUE);
    arrItems[5].bChecked = FALSE;
    s.manager.SetEditWidth(arrItems[1].nIndex, u"300");
    // Cancel: EndChooseColumns is not called; the layout is stored again as it was.
    EXPECT_EQ(s.header.Shown(), shown);
    ASSERT_TRUE(s.manager.SaveColumns(s.store));
    EXPECT_EQ(s.Stored(), before);
}
