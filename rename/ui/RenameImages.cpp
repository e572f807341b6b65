#include "rename/ui/RenameImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace
{

// Draws on a 16 x 16 grid; the painter is scaled for larger sizes.
void DrawImage(QPainter& painter, ERenameImage nImage)
{
    painter.setRenderHint(QPainter::Antialiasing);
    switch (nImage)
    {
    case RENAME_IMAGE_ARROW:
    {
        QPainterPath arrow;
        arrow.moveTo(2, 6);
        arrow.lineTo(8, 6);
        arrow.lineTo(8, 2.5);
        arrow.lineTo(14, 8);
        arrow.lineTo(8, 13.5);
        arrow.lineTo(8, 10);
        arrow.lineTo(2, 10);
        arrow.closeSubpath();
        painter.setPen(QPen(QColor(20, 60, 140), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(QColor(50, 120, 220));
        painter.drawPath(arrow);
        break;
    }
    case RENAME_IMAGE_READY:
    {
        const QPointF points[] = {QPointF(2.5, 8.5), QPointF(6.5, 12.5), QPointF(13.5, 3.5)};
        // A dark edge under the stroke keeps it visible on light and dark rows.
        painter.setPen(QPen(QColor(20, 100, 30), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(points, 3);
        painter.setPen(QPen(QColor(60, 180, 70), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(points, 3);
        break;
    }
    case RENAME_IMAGE_PARTIAL:
    {
        const QPolygonF triangle({QPointF(8, 1), QPointF(15.5, 14.5), QPointF(0.5, 14.5)});
        painter.setPen(QPen(QColor(150, 100, 0), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(QColor(250, 200, 40));
        painter.drawPolygon(triangle);
        painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(8, 5.5), QPointF(8, 9.5));
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawEllipse(QPointF(8, 12.2), 1.1, 1.1);
        break;
    }
    default:
        painter.setPen(QPen(QColor(130, 0, 0), 4.5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        painter.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
        painter.setPen(QPen(QColor(230, 40, 40), 2.5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        painter.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
        break;
    }
}

} // namespace

namespace RenameImages
{

QIcon CreateImage(ERenameImage nImage)
{
    QIcon icon;
    for (const int nScale : {1, 2})
    {
        QPixmap pixmap(16 * nScale, 16 * nScale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.scale(nScale, nScale);
        DrawImage(painter, nImage);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace RenameImages
