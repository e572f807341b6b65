// CColumnManager: the column layout of a list: which columns exist, which are shown, their
// widths and their order. It inserts and removes the list's columns, restores the layout from the
// profile, stores it there, resets it to the default, and holds the rules of the "Choose Columns"
// dialog, which the window only shows.
#pragma once

#include "base/String.h"
#include "base/Types.h"

#include <cstddef>
#include <vector>

class IProfileStore;

// Column flags.
enum : WORD
{
    COLF_ALIGN_LEFT = 0,
    COLF_ALIGN_RIGHT = 1,
    COLF_ALIGN_CENTER = 2,
    COLF_ALIGN_MASK = 3,
    COLF_DEFAULT = 4,   // shown in the default layout
    COLF_MANDATORY = 8, // cannot be hidden
};

struct tagCOLUMNDATA
{
    CString pszTitle;
    WORD nFlags = 0;
    int nID = 0; // the owner's column id, the list's sub-item number
    int nWidth = 0;
    int nDefaultWidth = 0;
    int nMinWidth = 0;
    int nEditWidth = 0; // width being edited in the dialog
    BOOL bVisible = FALSE;
    int nHeaderIndex = 0; // index in the list after insertion
};

// What the manager needs from the list it manages. Header items carry a data value, which the
// manager sets to the column's table index.
class IColumnListCtrl
{
public:
    virtual ~IColumnListCtrl() = default;

    // The number of header items.
    virtual int GetColumnCount() const = 0;
    // Inserts a column at nPosition; returns its index, or -1 when the list refused it.
    virtual int InsertColumn(int nPosition, const CString& strTitle, int nAlign, int nWidth,
                             int nSubItem, int nMinWidth, int nDefaultWidth, int nData) = 0;
    virtual void DeleteColumn(int nIndex) = 0;
    virtual int GetColumnWidth(int nIndex) const = 0;
    // The header item's data value.
    virtual int GetColumnData(int nIndex) const = 0;
    // The display order: the column indexes from left to right.
    virtual std::vector<int> GetColumnOrder() const = 0;
    virtual void SetColumnOrder(const std::vector<int>& arrOrder) = 0;
};

// One entry of the stored layout: a shown column, in display order.
struct tagCOLUMNORDERENTRY
{
    int nIndex = 0; // table index
    int nWidth = 0; // pixels
    friend bool operator==(const tagCOLUMNORDERENTRY&, const tagCOLUMNORDERENTRY&) = default;
};

// One item of the "Choose Columns" dialog's check-box list.
struct tagCHOOSECOLUMNITEM
{
    int nIndex = 0; // table index, the item data
    BOOL bChecked = FALSE;
    friend bool operator==(const tagCHOOSECOLUMNITEM&, const tagCHOOSECOLUMNITEM&) = default;
};

class CColumnManager
{
public:
    // Where the layout is stored.
    static constexpr const char16_t* PROFILE_SECTION = u"Settings";
    static constexpr const char16_t* PROFILE_ENTRY = u"ColumnsOrder";
    // Bytes per stored entry: table index and width, 32-bit little-endian signed each.
    static constexpr std::size_t ENTRY_SIZE = 8;

    explicit CColumnManager(IColumnListCtrl& list) : m_list(list) {}
    CColumnManager(const CColumnManager&) = delete;
    CColumnManager& operator=(const CColumnManager&) = delete;

    // Appends a column to the table (hidden, width and default width nWidth); returns its
    // table index. For the owner's constructor.
    int AddColumn(const CString& strTitle, WORD nFlags, int nWidth, int nMinWidth, int nID);

    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
    // The record of a table index; NULL for one that does not exist.
    const tagCOLUMNDATA* GetColumn(int nIndex) const;

    // Inserts the column of a table index into the list at nPosition, at the larger of its
    // width and minimum width; returns the list's column index (-1 when refused or for a bad
    // table index).
    int InsertColumn(int nPosition, int nIndex);
    // Removes every column of the list.
    void DeleteAllColumns();

    // Restores the stored layout. FALSE, with no column shown, when there is none or it is not
    // valid (see IsValidLayout); the caller then calls ResetColumns.
    BOOL LoadColumns(const IProfileStore& store);
    // Stores the list's columns in display order with their current widths; FALSE when the
    // write failed.
    BOOL SaveColumns(IProfileStore& store) const;
    // Shows the default columns in table order at their default widths.
    void ResetColumns();

    // A stored layout is valid when it has no more entries than the table has columns, every
    // table index lies in the table and appears once, and every mandatory column is shown.
    BOOL IsValidLayout(const std::vector<tagCOLUMNORDERENTRY>& arrEntries) const;
    // Shows exactly the columns of a valid layout, in its order and at its widths; FALSE (and
    // nothing shown) when it is not valid.
    BOOL ApplyLayout(const std::vector<tagCOLUMNORDERENTRY>& arrEntries);
    // The list's shown columns in display order with their widths, as SaveColumns stores them.
    std::vector<tagCOLUMNORDERENTRY> GetLayout() const;

    // "ColumnsOrder" bytes: 8 per entry, no header; bytes after the last whole entry are ignored.
    static std::vector<BYTE> EncodeLayout(const std::vector<tagCOLUMNORDERENTRY>& arrEntries);
    static std::vector<tagCOLUMNORDERENTRY> DecodeLayout(const BYTE* pData, std::size_t nBytes);

    // --- The "Choose Columns" dialog ---

    // Opening: the shown columns in display order, checked, at their current widths, then the
    // others in table order, checked only when mandatory, at their default widths (as widths
    // being edited).
    std::vector<tagCHOOSECOLUMNITEM> BeginChooseColumns();
    // FALSE for a mandatory column: its item cannot be unchecked.
    BOOL CanUncheck(int nIndex) const;
    BOOL IsMandatory(int nIndex) const;
    // The width being edited, shown in the width box when the column's item is selected.
    int GetEditWidth(int nIndex) const;
    // The width box changed: its digits as a decimal number (empty counts 0), or the minimum
    // width when the number is not larger. Returns the new width being edited.
    int SetEditWidth(int nIndex, const CString& strText);
    // "Move Up"/"Move Down" of the item at nItem; returns its new position (nItem when it could
    // not move).
    static int MoveChooseItem(std::vector<tagCHOOSECOLUMNITEM>& arrItems, int nItem, BOOL bUp);
    // OK: the checked items are shown, in the dialog's order, at their edited widths.
    void EndChooseColumns(const std::vector<tagCHOOSECOLUMNITEM>& arrItems);

private:
    // Inserts every visible record in table order and then sets the display order from the
    // table indexes in arrOrder.
    void InsertVisible(const std::vector<int>& arrOrder);

    IColumnListCtrl& m_list;
    std::vector<tagCOLUMNDATA> m_columns;
};
