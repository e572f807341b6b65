#include "app/ui/CommandIcons.h"

#include "app/ui/CommandIds.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace CommandIcons
{

namespace
{

const QColor kOutline(60, 60, 60);

QPixmap NewPixmap(int nSize = 16)
{
    QPixmap pixmap(nSize, nSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void DrawFolder(QPainter& p)
{
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(240, 200, 90));
    QPolygonF shape;
    shape << QPointF(1.5, 3.5) << QPointF(6.5, 3.5) << QPointF(8, 5.5) << QPointF(14.5, 5.5)
          << QPointF(14.5, 13.5) << QPointF(1.5, 13.5);
    p.drawPolygon(shape);
    p.setBrush(QColor(250, 220, 120));
    p.drawRect(QRectF(1.5, 7.5, 13, 6));
}

void DrawPage(QPainter& p, const QRectF& rect = QRectF(2.5, 1.5, 10, 13))
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawRect(rect);
}

void DrawLines(QPainter& p, double dLeft, double dRight, int nFrom, int nTo)
{
    p.setPen(QPen(QColor(90, 120, 180), 1));
    for (int y = nFrom; y <= nTo; y += 2)
        p.drawLine(QPointF(dLeft, y + 0.5), QPointF(dRight, y + 0.5));
}

void DrawTag(QPainter& p, const QColor& fill)
{
    QPolygonF shape;
    shape << QPointF(1.5, 5.5) << QPointF(9.5, 5.5) << QPointF(13.5, 9) << QPointF(9.5, 12.5)
          << QPointF(1.5, 12.5);
    p.setPen(QPen(kOutline, 1));
    p.setBrush(fill);
    p.drawPolygon(shape);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(9.5, 9), 1.2, 1.2);
}

void DrawRefresh(QPainter& p)
{
    p.setPen(QPen(QColor(30, 130, 50), 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3, 3, 10, 10), 60 * 16, 280 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 130, 50));
    QPolygonF head;
    head << QPointF(9, 0.5) << QPointF(14, 3.5) << QPointF(9, 6.5);
    p.drawPolygon(head);
}

void DrawPlay(QPainter& p)
{
    p.setPen(QPen(QColor(20, 100, 30), 1));
    p.setBrush(QColor(60, 180, 70));
    QPolygonF shape;
    shape << QPointF(4.5, 2.5) << QPointF(13.5, 8) << QPointF(4.5, 13.5);
    p.drawPolygon(shape);
}

void DrawInfoSign(QPainter& p, const QRectF& rect)
{
    p.setPen(QPen(QColor(20, 60, 150), 1));
    p.setBrush(QColor(50, 110, 210));
    p.drawEllipse(rect);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const double cx = rect.center().x();
    const double dUnit = rect.width() / 15.0;
    p.drawEllipse(QPointF(cx, rect.top() + 4 * dUnit), 1.2 * dUnit, 1.2 * dUnit);
    p.drawRect(QRectF(cx - 1.1 * dUnit, rect.top() + 6.5 * dUnit, 2.2 * dUnit, 5.5 * dUnit));
}

void DrawGear(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 110, 120));
    p.translate(8, 8);
    for (int i = 0; i < 8; ++i)
    {
        p.drawRect(QRectF(-1.5, -7.5, 3, 4));
        p.rotate(45);
    }
    p.drawEllipse(QPointF(0, 0), 5, 5);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(0, 0), 2, 2);
    p.resetTransform();
}

void DrawArrow(QPainter& p, bool bUp)
{
    p.setPen(QPen(QColor(40, 80, 160), 1));
    p.setBrush(QColor(80, 130, 220));
    QPolygonF shape;
    if (bUp)
        shape << QPointF(8, 1.5) << QPointF(14.5, 8) << QPointF(10.5, 8) << QPointF(10.5, 14.5)
              << QPointF(5.5, 14.5) << QPointF(5.5, 8) << QPointF(1.5, 8);
    else
        shape << QPointF(8, 14.5) << QPointF(14.5, 8) << QPointF(10.5, 8) << QPointF(10.5, 1.5)
              << QPointF(5.5, 1.5) << QPointF(5.5, 8) << QPointF(1.5, 8);
    p.drawPolygon(shape);
}

} // namespace

QIcon GetCommandIcon(UINT nID)
{
    QPixmap pixmap = NewPixmap();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (nID)
    {
    case Cmd::ID_VIEW_FOLDERS:
        DrawFolder(p);
        break;
    case Cmd::ID_VIEW_REFRESH:
        DrawRefresh(p);
        break;
    case Cmd::ID_LOAD_PLAYLIST:
        DrawPage(p);
        DrawLines(p, 4.5, 10.5, 4, 12);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 120, 20));
        p.drawPolygon(QPolygonF() << QPointF(9, 9) << QPointF(15, 12) << QPointF(9, 15));
        break;
    case Cmd::ID_CREATE_PLAYLIST:
        DrawPage(p);
        DrawLines(p, 4.5, 10.5, 4, 10);
        p.setPen(QPen(QColor(200, 40, 40), 2));
        p.drawLine(QPointF(12, 9), QPointF(12, 15));
        p.drawLine(QPointF(9, 12), QPointF(15, 12));
        break;
    case Cmd::ID_EDIT_TAG:
        DrawTag(p, QColor(120, 190, 240));
        p.setPen(QPen(QColor(200, 120, 20), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 9), QPointF(13, 2));
        break;
    case Cmd::ID_REMOVE_TAG:
        DrawTag(p, QColor(120, 190, 240));
        p.setPen(QPen(QColor(210, 30, 30), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9, 1.5), QPointF(14.5, 7));
        p.drawLine(QPointF(14.5, 1.5), QPointF(9, 7));
        break;
    case Cmd::ID_PLAY:
        DrawPlay(p);
        break;
    case Cmd::ID_PROPERTIES:
        DrawPage(p);
        DrawInfoSign(p, QRectF(5, 5, 8, 8));
        break;
    case Cmd::ID_AUTO_RENAME:
        DrawPage(p, QRectF(1.5, 3.5, 13, 9));
        p.setPen(QPen(kOutline, 1));
        p.drawLine(QPointF(4, 5.5), QPointF(4, 10.5));
        p.setPen(QPen(QColor(200, 120, 20), 2));
        p.drawLine(QPointF(7, 8), QPointF(12, 8));
        break;
    case Cmd::ID_TOOLS_OPTIONS:
        DrawGear(p);
        break;
    case Cmd::ID_OPEN_FILE_LOCATION:
        DrawFolder(p);
        p.setPen(QPen(QColor(40, 80, 160), 2));
        p.drawLine(QPointF(9, 12), QPointF(13, 8));
        break;
    case Cmd::ID_MOVE_UP:
        DrawArrow(p, true);
        break;
    case Cmd::ID_MOVE_DOWN:
        DrawArrow(p, false);
        break;
    default:
        return QIcon();
    }
    p.end();
    return QIcon(pixmap);
}

QPixmap GetInformationPixmap()
{
    QPixmap pixmap = NewPixmap();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    DrawInfoSign(p, QRectF(0.5, 0.5, 15, 15));
    p.end();
    return pixmap;
}

QIcon GetAppIcon()
{
    QIcon icon;
    for (int nSize : {16, 32, 48})
    {
        QPixmap pixmap = NewPixmap(nSize);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(nSize / 16.0, nSize / 16.0);
        DrawTag(p, QColor(240, 160, 40));
        p.setPen(QPen(QColor(40, 40, 40), 1.5));
        p.drawLine(QPointF(4, 2), QPointF(4, 5));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace CommandIcons
