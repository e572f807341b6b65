#include "browser/ui/NotifyVSListBox.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <utility>

namespace
{

enum ICON_KIND
{
    ICON_NEW,
    ICON_DELETE,
    ICON_UP,
    ICON_DOWN,
    ICON_BROWSE
};

// Small images drawn in the button text colour, so that they follow the palette.
QIcon PaintIcon(ICON_KIND nKind, const QColor& color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 2.0, Qt::SolidLine, Qt::RoundCap));
    switch (nKind)
    {
    case ICON_NEW:
        painter.drawLine(QPointF(8, 3), QPointF(8, 13));
        painter.drawLine(QPointF(3, 8), QPointF(13, 8));
        break;
    case ICON_DELETE:
        painter.drawLine(QPointF(4, 4), QPointF(12, 12));
        painter.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    case ICON_UP:
    case ICON_DOWN:
    {
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        const bool bUp = nKind == ICON_UP;
        const QPointF points[3] = {QPointF(8, bUp ? 4 : 12), QPointF(13, bUp ? 11 : 5),
                                   QPointF(3, bUp ? 11 : 5)};
        painter.drawPolygon(points, 3);
        break;
    }
    case ICON_BROWSE:
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        for (const double x : {3.5, 8.0, 12.5})
            painter.drawEllipse(QPointF(x, 11), 1.4, 1.4);
        break;
    }
    return QIcon(pixmap);
}

} // namespace

// The in-place editor of the items: a line edit, with the browse button inside it when that is
// switched on. Return commits and Esc cancels without reaching the dialog; losing the focus
// commits.
class CValueEditDelegate : public QStyledItemDelegate
{
public:
    explicit CValueEditDelegate(QObject* pParent) : QStyledItemDelegate(pParent)
    {
        // A closed editor is deleted later; it is no longer the open one.
        connect(this, &QAbstractItemDelegate::closeEditor, this, [this] { m_pEditor = nullptr; });
        m_nEditorHeight = QLineEdit().sizeHint().height();
    }

    QLineEdit* GetEditor() const { return m_pEditor; }

    // Ends the edit, keeping the typed text.
    void Finish(QLineEdit* pEditor)
    {
        emit commitData(pEditor);
        emit closeEditor(pEditor, QAbstractItemDelegate::NoHint);
    }

    QWidget* createEditor(QWidget* pParent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override
    {
        auto* pEditor = new QLineEdit(pParent);
        if (m_bBrowse)
        {
            QAction* pBrowse = pEditor->addAction(
                PaintIcon(ICON_BROWSE, pEditor->palette().color(QPalette::ButtonText)),
                QLineEdit::TrailingPosition);
            pBrowse->setObjectName(QStringLiteral("Browse"));
            pBrowse->setText(QStringLiteral("Browse"));
            pBrowse->setToolTip(QStringLiteral("Browse (F4)"));
            pBrowse->setShortcut(QKeySequence(Qt::Key_F4));
            pBrowse->setShortcutContext(Qt::WidgetShortcut);
            connect(pBrowse, &QAction::triggered, this,
                    [this]
                    {
                        if (m_onBrowse)
                            m_onBrowse();
                    });
        }
        m_pEditor = pEditor;
        return pEditor;
    }

    // An emptied text leaves the item as it was.
    void setModelData(QWidget* pEditor, QAbstractItemModel* pModel,
                      const QModelIndex& index) const override
    {
        const auto* pLineEdit = qobject_cast<QLineEdit*>(pEditor);
        if (!pLineEdit || pLineEdit->text().isEmpty())
            return;
        const bool bChanged = pModel->data(index).toString() != pLineEdit->text();
        pModel->setData(index, pLineEdit->text());
        if (m_onCommitted)
            m_onCommitted(index.row(), bChanged);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        // Rows as tall as the editor, so that it is not cut off.
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(size.height(), m_nEditorHeight));
        return size;
    }

    bool m_bBrowse = false;
    std::function<void()> m_onBrowse;
    std::function<void(int, bool)> m_onCommitted;

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override
    {
        auto* pEditor = qobject_cast<QLineEdit*>(pObject);
        if (pEditor && pEvent->type() == QEvent::KeyPress)
        {
            switch (static_cast<QKeyEvent*>(pEvent)->key())
            {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
                // Handled here so that Return does not press the dialog's default button and
                // Tab does not move on to edit the next item.
                Finish(pEditor);
                return true;
            case Qt::Key_Escape:
                emit closeEditor(pEditor, QAbstractItemDelegate::RevertModelCache);
                return true;
            default:
                break;
            }
        }
        return QStyledItemDelegate::eventFilter(pObject, pEvent);
    }

private:
    mutable QPointer<QLineEdit> m_pEditor;
    int m_nEditorHeight = 0;
};

CNotifyVSListBox::CNotifyVSListBox(QWidget* pParent) : QWidget(pParent)
{
    m_pCaption = new QLabel(this);
    m_pList = new QListWidget(this);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    m_pDelegate = new CValueEditDelegate(this);
    m_pList->setItemDelegate(m_pDelegate);
    m_pList->installEventFilter(this);
    m_pCaption->setBuddy(m_pList);
    setFocusProxy(m_pList);

    m_pNew = AddButton(QStringLiteral("New"), QStringLiteral("New (Insert)"),
                       PaintIcon(ICON_NEW, palette().color(QPalette::ButtonText)));
    m_pDelete = AddButton(QStringLiteral("Delete"), QStringLiteral("Delete (Delete)"),
                          PaintIcon(ICON_DELETE, palette().color(QPalette::ButtonText)));
    m_pUp = AddButton(QStringLiteral("Move Up"), QStringLiteral("Move Up (Alt+Up)"),
                      PaintIcon(ICON_UP, palette().color(QPalette::ButtonText)));
    m_pDown = AddButton(QStringLiteral("Move Down"), QStringLiteral("Move Down (Alt+Down)"),
                        PaintIcon(ICON_DOWN, palette().color(QPalette::ButtonText)));

    auto* pHeader = new QHBoxLayout;
    pHeader->setContentsMargins(0, 0, 0, 0);
    pHeader->setSpacing(0);
    pHeader->addWidget(m_pCaption, 1);
    for (QToolButton* pButton : {m_pNew, m_pDelete, m_pUp, m_pDown})
        pHeader->addWidget(pButton);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(2);
    pLayout->addLayout(pHeader);
    pLayout->addWidget(m_pList, 1);

    connect(m_pNew, &QToolButton::clicked, this, &CNotifyVSListBox::OnNew);
    connect(m_pDelete, &QToolButton::clicked, this, &CNotifyVSListBox::OnDelete);
    connect(m_pUp, &QToolButton::clicked, this, [this] { OnMove(true); });
    connect(m_pDown, &QToolButton::clicked, this, [this] { OnMove(false); });
    m_pDelegate->m_onBrowse = [this] { OnBrowse(); };
    m_pDelegate->m_onCommitted = [this](int nRow, bool bChanged)
    { OnTextCommitted(nRow, bChanged); };
    // After the view has closed the editor.
    connect(m_pDelegate, &QAbstractItemDelegate::closeEditor, this,
            &CNotifyVSListBox::OnEditorClosed);
    connect(m_pList, &QListWidget::itemSelectionChanged, this,
            [this]
            {
                UpdateButtons();
                OnSelectionChanged();
            });
    connect(m_pList->model(), &QAbstractItemModel::rowsInserted, this,
            &CNotifyVSListBox::UpdateButtons);
    connect(m_pList->model(), &QAbstractItemModel::rowsRemoved, this,
            &CNotifyVSListBox::UpdateButtons);
    UpdateButtons();
}

CNotifyVSListBox::~CNotifyVSListBox()
{
    // The children are deleted after this part of the object; none of their signals may reach
    // it then (an open editor that loses the focus, the list's model emptied).
    m_pList->removeEventFilter(this);
    m_pList->model()->disconnect(this);
    m_pList->disconnect(this);
    m_pDelegate->disconnect(this);
    m_pDelegate->m_onBrowse = nullptr;
    m_pDelegate->m_onCommitted = nullptr;
}

QToolButton* CNotifyVSListBox::AddButton(const QString& strName, const QString& strTip,
                                         const QIcon& icon)
{
    auto* pButton = new QToolButton(this);
    pButton->setObjectName(strName);
    pButton->setAccessibleName(strName);
    pButton->setToolTip(strTip);
    pButton->setIcon(icon);
    pButton->setAutoRaise(true);
    pButton->setVisible(false);
    return pButton;
}

void CNotifyVSListBox::SetStandardButtons(UINT nButtons)
{
    m_nButtons = nButtons;
    m_pNew->setVisible((nButtons & BUTTON_NEW) != 0);
    m_pDelete->setVisible((nButtons & BUTTON_DELETE) != 0);
    m_pUp->setVisible((nButtons & BUTTON_UP) != 0);
    m_pDown->setVisible((nButtons & BUTTON_DOWN) != 0);
}

void CNotifyVSListBox::EnableBrowseButton(bool bEnable)
{
    m_pDelegate->m_bBrowse = bEnable;
}

BOOL CNotifyVSListBox::HasBrowseButton() const
{
    return m_pDelegate->m_bBrowse ? TRUE : FALSE;
}

void CNotifyVSListBox::SetCaption(const QString& strCaption)
{
    m_pCaption->setText(strCaption);
}

int CNotifyVSListBox::GetCount() const
{
    return m_pList->count();
}

int CNotifyVSListBox::AddItem(const QString& strText)
{
    auto* pItem = new QListWidgetItem(strText);
    pItem->setFlags(pItem->flags() | Qt::ItemIsEditable);
    m_pList->addItem(pItem);
    return m_pList->row(pItem);
}

QString CNotifyVSListBox::GetItemText(int nIndex) const
{
    const QListWidgetItem* pItem = m_pList->item(nIndex);
    return pItem ? pItem->text() : QString();
}

BOOL CNotifyVSListBox::SetItemText(int nIndex, const QString& strText)
{
    QListWidgetItem* pItem = m_pList->item(nIndex);
    if (!pItem)
        return FALSE;
    pItem->setText(strText);
    return TRUE;
}

quintptr CNotifyVSListBox::GetItemData(int nIndex) const
{
    const QListWidgetItem* pItem = m_pList->item(nIndex);
    return pItem ? pItem->data(Qt::UserRole).value<quintptr>() : 0;
}

BOOL CNotifyVSListBox::SetItemData(int nIndex, quintptr nData)
{
    QListWidgetItem* pItem = m_pList->item(nIndex);
    if (!pItem)
        return FALSE;
    pItem->setData(Qt::UserRole, QVariant::fromValue(nData));
    return TRUE;
}

int CNotifyVSListBox::GetSelItem() const
{
    const QList<QListWidgetItem*> arrSelected = m_pList->selectedItems();
    return arrSelected.isEmpty() ? -1 : m_pList->row(arrSelected.first());
}

BOOL CNotifyVSListBox::SelectItem(int nIndex)
{
    QListWidgetItem* pItem = m_pList->item(nIndex);
    if (!pItem)
        return FALSE;
    m_pList->setCurrentItem(pItem);
    m_pList->scrollToItem(pItem);
    return TRUE;
}

BOOL CNotifyVSListBox::RemoveItem(int nIndex)
{
    QListWidgetItem* pItem = m_pList->item(nIndex);
    if (!pItem)
        return FALSE;
    if (pItem == m_pNewItem)
        m_pNewItem = nullptr;
    delete m_pList->takeItem(nIndex);
    return TRUE;
}

BOOL CNotifyVSListBox::EditItem(int nIndex)
{
    QListWidgetItem* pItem = m_pList->item(nIndex);
    if (!pItem)
        return FALSE;
    EndEdit();
    m_pList->setCurrentItem(pItem);
    m_pList->setFocus();
    m_pList->editItem(pItem);
    return GetEditor() ? TRUE : FALSE;
}

BOOL CNotifyVSListBox::EndEdit()
{
    m_bDroppedNewItem = false;
    if (QLineEdit* pEditor = GetEditor())
        m_pDelegate->Finish(pEditor);
    return m_bDroppedNewItem ? TRUE : FALSE;
}

QLineEdit* CNotifyVSListBox::GetEditor() const
{
    return m_pDelegate->GetEditor();
}

void CNotifyVSListBox::OnNew()
{
    EndEdit();
    auto* pItem = new QListWidgetItem;
    pItem->setFlags(pItem->flags() | Qt::ItemIsEditable);
    m_pList->addItem(pItem);
    m_pNewItem = pItem;
    if (!EditItem(m_pList->row(pItem)))
    {
        // No editor (the list is disabled): there is nothing to add.
        m_pNewItem = nullptr;
        delete m_pList->takeItem(m_pList->row(pItem));
    }
}

void CNotifyVSListBox::OnDelete()
{
    // Delete on a new item still empty only drops that item.
    if (EndEdit())
        return;
    const int nRow = GetSelItem();
    if (nRow < 0 || !OnBeforeRemoveItem(nRow))
        return;
    delete m_pList->takeItem(nRow);
    if (GetCount() > 0)
        SelectItem(std::min(nRow, GetCount() - 1));
    emit notify(NOTIFY_ITEM_CHANGED);
}

void CNotifyVSListBox::OnMove(bool bUp)
{
    EndEdit();
    const int nRow = GetSelItem();
    const int nTarget = bUp ? nRow - 1 : nRow + 1;
    if (nRow < 0 || nTarget < 0 || nTarget >= GetCount())
        return;
    QListWidgetItem* pItem = m_pList->takeItem(nRow);
    m_pList->insertItem(nTarget, pItem);
    m_pList->setCurrentItem(pItem);
    UpdateButtons();
    if (bUp)
        OnAfterMoveItemUp(nTarget);
    else
        OnAfterMoveItemDown(nTarget);
}

BOOL CNotifyVSListBox::OnBeforeRemoveItem(int)
{
    return TRUE;
}

void CNotifyVSListBox::OnAfterMoveItemUp(int) {}

void CNotifyVSListBox::OnAfterMoveItemDown(int) {}

void CNotifyVSListBox::OnSelectionChanged() {}

void CNotifyVSListBox::OnBrowse()
{
    // The parent's browse opens a window that takes the focus, which ends the edit anyway; it
    // ends first here, so that the parent sees the list as it will stay. A new item still empty
    // stays meanwhile: it is the item the browse fills.
    m_bBrowsing = true;
    EndEdit();
    m_bBrowsing = false;
    const QPersistentModelIndex newItem = std::exchange(m_browsedNewItem, QPersistentModelIndex());
    emit notify(NOTIFY_BROWSE);
    if (newItem.isValid() && newItem.data().toString().isEmpty())
        delete m_pList->takeItem(newItem.row());
}

void CNotifyVSListBox::OnTextCommitted(int nRow, bool bChanged)
{
    // A new item is reported as added once its edit has ended.
    if (m_pNewItem && m_pList->item(nRow) == m_pNewItem)
        return;
    if (bChanged)
        emit notify(NOTIFY_ITEM_CHANGED);
}

void CNotifyVSListBox::OnEditorClosed()
{
    QListWidgetItem* pItem = std::exchange(m_pNewItem, nullptr);
    if (!pItem)
        return;
    if (!pItem->text().isEmpty())
    {
        emit notify(NOTIFY_ITEM_CHANGED);
        return;
    }
    const int nRow = m_pList->row(pItem);
    if (m_bBrowsing)
    {
        m_browsedNewItem = QPersistentModelIndex(m_pList->model()->index(nRow, 0));
        return;
    }
    // An item left empty was never added.
    delete m_pList->takeItem(nRow);
    m_bDroppedNewItem = true;
}

void CNotifyVSListBox::UpdateButtons()
{
    const int nSel = GetSelItem();
    m_pDelete->setEnabled(nSel >= 0);
    m_pUp->setEnabled(nSel > 0);
    m_pDown->setEnabled(nSel >= 0 && nSel < GetCount() - 1);
}

bool CNotifyVSListBox::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    // The list's own keys; keys typed into the in-place editor stay the editor's.
    if (pWatched == m_pList && pEvent->type() == QEvent::KeyPress && !GetEditor())
    {
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        const Qt::KeyboardModifiers modifiers = pKey->modifiers() & ~Qt::KeypadModifier;
        if (pKey->key() == Qt::Key_Insert && modifiers == Qt::NoModifier &&
            (m_nButtons & BUTTON_NEW))
        {
            OnNew();
            return true;
        }
        if (pKey->key() == Qt::Key_Delete && modifiers == Qt::NoModifier &&
            (m_nButtons & BUTTON_DELETE))
        {
            OnDelete();
            return true;
        }
        if ((pKey->key() == Qt::Key_Up || pKey->key() == Qt::Key_Down) &&
            modifiers == Qt::AltModifier)
        {
            const bool bUp = pKey->key() == Qt::Key_Up;
            if (m_nButtons & (bUp ? BUTTON_UP : BUTTON_DOWN))
                OnMove(bUp);
            return true;
        }
    }
    return QWidget::eventFilter(pWatched, pEvent);
}
