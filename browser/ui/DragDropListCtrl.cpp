#include "browser/ui/DragDropListCtrl.h"

#include "browser/ui/BrowserImages.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

CDragDropListCtrl::CDragDropListCtrl(QWidget* pParent) : CSortListCtrl(pParent)
{
    m_fontBold = QFont(QStringLiteral("Tahoma"), 8);
    m_fontBold.setBold(true);
    // Qt's own drag and drop is not used: the items move inside the list only.
    setDragEnabled(false);
}

CDragDropListCtrl::~CDragDropListCtrl() = default;

QString CDragDropListCtrl::GetDragLabel(int nCount)
{
    QString str = QStringLiteral("%1 item").arg(nCount);
    if (nCount > 1)
        str += QLatin1Char('s');
    return str;
}

QPixmap CDragDropListCtrl::CreateDragImage(int nCount, QRect* pLabel) const
{
    QPixmap pixmap = BrowserImages::CreateDragBackground();
    const QString strLabel = GetDragLabel(nCount);
    QPainter painter(&pixmap);
    painter.setFont(m_fontBold);
    const QFontMetrics metrics(m_fontBold);
    QRect rect(0, 0, metrics.horizontalAdvance(strLabel), metrics.height());
    rect.adjust(-4, -2, 4, 2);
    rect.moveCenter(pixmap.rect().center());
    painter.fillRect(rect, QColor(53, 180, 240));
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, strLabel);
    if (pLabel)
        *pLabel = rect;
    return pixmap;
}

int CDragDropListCtrl::GetInsertMark(bool* pbAfter) const
{
    if (pbAfter)
        *pbAfter = m_bInsertAfter;
    return m_nInsertMark;
}

int CDragDropListCtrl::HitInsertionPoint(const QPoint& pt, bool bOrBelow, bool* pbLower) const
{
    const int nCount = model() ? model()->rowCount() : 0;
    if (nCount == 0)
        return -1;
    int nRow = rowAt(pt.y());
    if (nRow < 0)
    {
        // Outside the rows: the nearest is the first or the last item.
        const int nTop = rowViewportPosition(0);
        nRow = (pt.y() < nTop) ? 0 : nCount - 1;
    }
    const int nTop = rowViewportPosition(nRow);
    const int nMiddle = nTop + rowHeight(nRow) / 2;
    if (pbLower)
        *pbLower = bOrBelow ? pt.y() >= nMiddle : pt.y() > nMiddle;
    return nRow;
}

void CDragDropListCtrl::mousePressEvent(QMouseEvent* pEvent)
{
    m_bMaybeDrag = false;
    if (pEvent->button() == Qt::LeftButton && pEvent->modifiers() == Qt::NoModifier)
    {
        const QModelIndex index = indexAt(pEvent->position().toPoint());
        if (index.isValid() && selectionModel()->isRowSelected(index.row(), QModelIndex()))
        {
            m_bMaybeDrag = true;
            m_ptPress = pEvent->position().toPoint();
            m_nPressRow = index.row();
            setFocus(Qt::MouseFocusReason);
            pEvent->accept();
            return;
        }
    }
    CSortListCtrl::mousePressEvent(pEvent);
}

void CDragDropListCtrl::mouseMoveEvent(QMouseEvent* pEvent)
{
    const QPoint pt = pEvent->position().toPoint();
    if (m_bDragging)
    {
        DragTo(pt, pEvent->globalPosition().toPoint());
        pEvent->accept();
        return;
    }
    if (m_bMaybeDrag)
    {
        if ((pEvent->buttons() & Qt::LeftButton) &&
            (pt - m_ptPress).manhattanLength() >= QApplication::startDragDistance())
        {
            m_bMaybeDrag = false;
            BeginDrag(pEvent->globalPosition().toPoint());
            DragTo(pt, pEvent->globalPosition().toPoint());
        }
        pEvent->accept();
        return;
    }
    CSortListCtrl::mouseMoveEvent(pEvent);
}

void CDragDropListCtrl::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (m_bDragging && pEvent->button() == Qt::LeftButton)
    {
        EndDrag();
        bool bLower = false;
        const int nRow = HitInsertionPoint(pEvent->position().toPoint(), false, &bLower);
        if (nRow >= 0)
        {
            CWaitCursor wait;
            MoveSelectionTo(bLower ? nRow + 1 : nRow);
        }
        pEvent->accept();
        return;
    }
    if (m_bMaybeDrag && pEvent->button() == Qt::LeftButton)
    {
        // A click on a selected item without a drag selects that item alone.
        m_bMaybeDrag = false;
        const QModelIndex index = model()->index(m_nPressRow, 0);
        if (index.isValid())
        {
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
        }
        pEvent->accept();
        return;
    }
    CSortListCtrl::mouseReleaseEvent(pEvent);
}

void CDragDropListCtrl::BeginDrag(const QPoint& ptGlobal)
{
    QRect rectLabel;
    const QPixmap pixmap = CreateDragImage(GetSelectedCount(), &rectLabel);
    m_pDragImage = std::make_unique<QLabel>(nullptr, Qt::ToolTip | Qt::FramelessWindowHint |
                                                         Qt::WindowTransparentForInput);
    m_pDragImage->setAttribute(Qt::WA_TranslucentBackground);
    m_pDragImage->setAttribute(Qt::WA_ShowWithoutActivating);
    m_pDragImage->setPixmap(pixmap);
    m_pDragImage->resize(pixmap.size());
    // The cursor holds the label by its bottom right corner.
    m_ptHotSpot = rectLabel.bottomRight();
    m_pDragImage->move(ptGlobal - m_ptHotSpot);
    m_bDragging = TRUE;
    grabMouse();
}

void CDragDropListCtrl::DragTo(const QPoint& ptViewport, const QPoint& ptGlobal)
{
    bool bLower = false;
    const int nRow = HitInsertionPoint(ptViewport, true, &bLower);
    SetInsertMark(nRow, bLower);
    const bool bInside = viewport()->rect().contains(ptViewport);
    if (m_pDragImage)
    {
        m_pDragImage->move(ptGlobal - m_ptHotSpot);
        m_pDragImage->setVisible(bInside);
    }
    viewport()->setCursor(bInside ? Qt::ArrowCursor : Qt::ForbiddenCursor);
}

void CDragDropListCtrl::EndDrag()
{
    m_pDragImage.reset();
    releaseMouse();
    viewport()->unsetCursor();
    SetInsertMark(-1, false);
    m_bDragging = FALSE;
}

void CDragDropListCtrl::SetInsertMark(int nRow, bool bAfter)
{
    if (nRow == m_nInsertMark && bAfter == m_bInsertAfter)
        return;
    m_nInsertMark = nRow;
    m_bInsertAfter = bAfter;
    viewport()->update();
}

void CDragDropListCtrl::SetEmptyText(const QString& strText)
{
    m_strEmptyText = strText;
    viewport()->update();
}

void CDragDropListCtrl::paintEvent(QPaintEvent* pEvent)
{
    CSortListCtrl::paintEvent(pEvent);
    if (!m_strEmptyText.isEmpty() && (!model() || model()->rowCount() == 0))
    {
        QPainter painter(viewport());
        painter.setPen(palette().color(QPalette::PlaceholderText));
        const QRect rect = viewport()->rect().adjusted(16, 16, -16, -16);
        painter.drawText(rect, Qt::AlignCenter | Qt::TextWordWrap, m_strEmptyText);
    }
    if (m_nInsertMark < 0 || !model() || m_nInsertMark >= model()->rowCount())
        return;
    int nY = rowViewportPosition(m_nInsertMark);
    if (m_bInsertAfter)
        nY += rowHeight(m_nInsertMark);
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Text), 2));
    painter.drawLine(0, nY, viewport()->width(), nY);
}
