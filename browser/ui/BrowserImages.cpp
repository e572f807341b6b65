#include "browser/ui/BrowserImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace BrowserImages
{

QPixmap CreateErrorImage()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(150, 0, 0), 1));
    painter.setBrush(QColor(220, 30, 30));
    painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(5, 5), QPointF(11, 11));
    painter.drawLine(QPointF(11, 5), QPointF(5, 11));
    return pixmap;
}

QIcon CreateAudioFileIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // The sheet with a folded corner.
    QPainterPath sheet;
    sheet.moveTo(2.5, 0.5);
    sheet.lineTo(10.5, 0.5);
    sheet.lineTo(13.5, 3.5);
    sheet.lineTo(13.5, 15.5);
    sheet.lineTo(2.5, 15.5);
    sheet.closeSubpath();
    painter.setPen(QPen(QColor(110, 110, 110), 1));
    painter.setBrush(Qt::white);
    painter.drawPath(sheet);
    // The note.
    painter.setPen(QPen(QColor(40, 80, 160), 1.2));
    painter.drawLine(QPointF(9.5, 4.5), QPointF(9.5, 11));
    painter.drawLine(QPointF(9.5, 4.5), QPointF(11.5, 6));
    painter.setBrush(QColor(40, 80, 160));
    painter.drawEllipse(QRectF(6, 10, 3.8, 3));
    return QIcon(pixmap);
}

namespace
{

void DrawArrow(QPainter& painter, const QRectF& rect, bool bUp, const QColor& color)
{
    const qreal x = rect.left();
    const qreal y = rect.top();
    const qreal w = rect.width();
    const qreal h = rect.height();
    QPolygonF arrow;
    if (bUp)
        arrow << QPointF(x + w / 2, y) << QPointF(x + w, y + h * 0.55)
              << QPointF(x + w * 0.68, y + h * 0.55) << QPointF(x + w * 0.68, y + h)
              << QPointF(x + w * 0.32, y + h) << QPointF(x + w * 0.32, y + h * 0.55)
              << QPointF(x, y + h * 0.55);
    else
        arrow << QPointF(x + w / 2, y + h) << QPointF(x + w, y + h * 0.45)
              << QPointF(x + w * 0.68, y + h * 0.45) << QPointF(x + w * 0.68, y)
              << QPointF(x + w * 0.32, y) << QPointF(x + w * 0.32, y + h * 0.45)
              << QPointF(x, y + h * 0.45);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPolygon(arrow);
}

} // namespace

QPixmap CreateDragBackground()
{
    QPixmap pixmap(96, 96);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor grey(128, 128, 128, 200);
    DrawArrow(painter, QRectF(36, 2, 24, 26), true, grey);
    DrawArrow(painter, QRectF(36, 68, 24, 26), false, grey);
    return pixmap;
}

QIcon CreateArrowIcon(bool bUp)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawArrow(painter, QRectF(2, 2, 12, 12), bUp, QColor(30, 90, 170));
    return QIcon(pixmap);
}

} // namespace BrowserImages
