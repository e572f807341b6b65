// CDragDropListCtrl: reordering of a sorted list by dragging the selected items to a new place,
// with a drawn drag label and an insertion mark, and by moving the selection one place up or
// down.
#pragma once

#include "browser/ui/SortListCtrl.h"

#include <QFont>
#include <QPixmap>
#include <QPoint>

#include <memory>

class QLabel;

class CDragDropListCtrl : public CSortListCtrl
{
    Q_OBJECT

public:
    explicit CDragDropListCtrl(QWidget* pParent = nullptr);
    ~CDragDropListCtrl() override;

    // Moves the selected items, in their order, before the item at nTarget (the end when it is
    // the count). Nothing happens for a negative target, no selection or a selected target.
    virtual void MoveSelectionTo(int nTarget) = 0;
    virtual void MoveSelectionUp() = 0;
    virtual void MoveSelectionDown() = 0;

    BOOL IsDragging() const { return m_bDragging; }
    // A hint drawn centred in the list while it has no rows (none when empty).
    void SetEmptyText(const QString& strText);
    QString GetEmptyText() const { return m_strEmptyText; }
    // The shown insertion mark: the row and whether the mark stands after it; -1 for none.
    int GetInsertMark(bool* pbAfter = nullptr) const;

    // "%d item", with an "s" for more than one.
    static QString GetDragLabel(int nCount);
    // The drag image for a number of items: the arrows with the label centred; pLabel receives
    // the label's rectangle.
    QPixmap CreateDragImage(int nCount, QRect* pLabel = nullptr) const;

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    // The item nearest to a point of the viewport and whether the point lies in its lower half
    // (bOrBelow: the middle itself counts as lower); -1 in an empty list.
    int HitInsertionPoint(const QPoint& pt, bool bOrBelow, bool* pbLower) const;
    void BeginDrag(const QPoint& ptGlobal);
    void DragTo(const QPoint& ptViewport, const QPoint& ptGlobal);
    void EndDrag();
    void SetInsertMark(int nRow, bool bAfter);

    QFont m_fontBold;
    QString m_strEmptyText;
    BOOL m_bDragging = FALSE;
    // A left press on a selected item without modifiers may start a drag; the selection
    // changes only when the button is released without one.
    bool m_bMaybeDrag = false;
    QPoint m_ptPress;
    int m_nPressRow = -1;
    std::unique_ptr<QLabel> m_pDragImage;
    QPoint m_ptHotSpot;
    int m_nInsertMark = -1;
    bool m_bInsertAfter = false;
};
