// CNotifyVSListBox: an editable list of strings with a caption, the buttons New, Delete, Move Up
// and Move Down, in-place editing of the items and an optional browse button on the in-place
// editor. It tells its parent about the user's changes through notify(); a list bound to data
// follows the changes through the virtual hooks instead.
#pragma once

#include "base/Types.h"

#include <QPersistentModelIndex>
#include <QWidget>

class CValueEditDelegate;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QToolButton;

class CNotifyVSListBox : public QWidget
{
    Q_OBJECT

public:
    // The buttons SetStandardButtons shows.
    static constexpr UINT BUTTON_NEW = 0x1;
    static constexpr UINT BUTTON_DELETE = 0x2;
    static constexpr UINT BUTTON_UP = 0x4;
    static constexpr UINT BUTTON_DOWN = 0x8;
    static constexpr UINT BUTTONS_STANDARD = BUTTON_NEW | BUTTON_DELETE | BUTTON_UP | BUTTON_DOWN;

    // The codes of notify().
    static constexpr int NOTIFY_ITEM_CHANGED = 1; // an item was added, changed or removed
    static constexpr int NOTIFY_BROWSE = 2;       // the browse button was clicked

    explicit CNotifyVSListBox(QWidget* pParent = nullptr);
    ~CNotifyVSListBox() override;

    // Shows the given buttons (none until this is called) with their keys: Insert, Delete,
    // Alt+Up and Alt+Down while the list has the focus.
    void SetStandardButtons(UINT nButtons = BUTTONS_STANDARD);
    // Shows a browse button on the in-place editor from the next edit on.
    void EnableBrowseButton(bool bEnable = true);
    BOOL HasBrowseButton() const;
    void SetCaption(const QString& strCaption);

    int GetCount() const;
    // Appends an item; returns its index.
    int AddItem(const QString& strText);
    QString GetItemText(int nIndex) const;
    BOOL SetItemText(int nIndex, const QString& strText);
    // A value carried by the item (0 when none was set).
    quintptr GetItemData(int nIndex) const;
    BOOL SetItemData(int nIndex, quintptr nData);
    // The selected item, or -1.
    int GetSelItem() const;
    BOOL SelectItem(int nIndex);
    BOOL RemoveItem(int nIndex);

    // Starts editing an item in place (as F2 and a double-click do).
    BOOL EditItem(int nIndex);
    // Ends an in-place edit as if the editor lost the focus: a typed text is kept. TRUE when
    // that dropped an item just created with New and left empty.
    BOOL EndEdit();
    // The open in-place editor, or null.
    QLineEdit* GetEditor() const;

signals:
    // The changes made through the list's own buttons, keys and editor (not through the calls
    // above): NOTIFY_ITEM_CHANGED after an item was added, had its text changed or was removed;
    // NOTIFY_BROWSE when the browse button was clicked. The in-place edit has ended by then.
    void notify(int nCode);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

    // Called by Delete (button or key) before it removes the item; FALSE keeps the item.
    virtual BOOL OnBeforeRemoveItem(int nItem);
    // Called after Move Up / Move Down moved an item; nItem is its new position. A move takes
    // the item out and puts it back: neither step counts as a removal or an addition.
    virtual void OnAfterMoveItemUp(int nItem);
    virtual void OnAfterMoveItemDown(int nItem);
    // Called whenever the selected item changed (by the user or by a call).
    virtual void OnSelectionChanged();

private:
    void OnNew();
    void OnDelete();
    void OnMove(bool bUp);
    void OnBrowse();
    void OnTextCommitted(int nRow, bool bChanged);
    void OnEditorClosed();
    void UpdateButtons();
    QToolButton* AddButton(const QString& strName, const QString& strTip, const QIcon& icon);

    QLabel* m_pCaption = nullptr;
    QListWidget* m_pList = nullptr;
    CValueEditDelegate* m_pDelegate = nullptr;
    QToolButton* m_pNew = nullptr;
    QToolButton* m_pDelete = nullptr;
    QToolButton* m_pUp = nullptr;
    QToolButton* m_pDown = nullptr;
    UINT m_nButtons = 0;
    // The item New created, while it is being edited for the first time.
    QListWidgetItem* m_pNewItem = nullptr;
    // While the browse button ends the edit: a new item still empty is kept for the parent to
    // fill from the browse, and dropped afterwards if it stays empty.
    bool m_bBrowsing = false;
    QPersistentModelIndex m_browsedNewItem;
    bool m_bDroppedNewItem = false;
};
