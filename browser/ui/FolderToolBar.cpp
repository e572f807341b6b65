#include "FolderToolBar.h"

#include "QtString.h"
#include "res/StringTable.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolButton>

namespace
{

constexpr int IMAGE_SIZE = 16;
constexpr int BUTTON_WIDTH = 22;
constexpr int BUTTON_HEIGHT = 21;

// Status-bar prompt (0) or tool tip (1) of a button: the halves of its string.
QString ButtonText(UINT nID, int nPart)
{
    return ToQString(Res::LoadResourceString(nID)).section(u'\n', nPart, nPart);
}

void DrawFolder(QPainter& painter, const QRectF& rect)
{
    QPainterPath path;
    const qreal nTab = rect.width() * 0.4;
    path.moveTo(rect.left(), rect.top() + 2);
    path.lineTo(rect.left() + nTab, rect.top() + 2);
    path.lineTo(rect.left() + nTab + 2, rect.top() + 4);
    path.lineTo(rect.right(), rect.top() + 4);
    path.lineTo(rect.right(), rect.bottom());
    path.lineTo(rect.left(), rect.bottom());
    path.closeSubpath();
    painter.setPen(QPen(QColor(0x9a, 0x72, 0x1c), 1));
    painter.setBrush(QColor(0xf2, 0xc9, 0x4c));
    painter.drawPath(path);
}

// The three button images side by side: a folder with its subfolder, a list with an added
// line, a folder marked as the default.
QPixmap BuildButtonImages()
{
    QPixmap strip(IMAGE_SIZE * 3, IMAGE_SIZE);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);

    // Include Subdirectories.
    DrawFolder(painter, QRectF(0.5, 0.5, 9, 7));
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    painter.drawLine(QPointF(3.5, 8), QPointF(3.5, 12.5));
    painter.drawLine(QPointF(3.5, 12.5), QPointF(6, 12.5));
    DrawFolder(painter, QRectF(6.5, 8.5, 9, 7));

    // Append to the Files List.
    const qreal nLeft = IMAGE_SIZE;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x50, 0x60, 0x78));
    for (int nLine = 0; nLine < 4; ++nLine)
        painter.drawRect(QRectF(nLeft + 1, 2 + nLine * 3, 9, 1.5));
    painter.setBrush(QColor(0x2e, 0x9e, 0x3e));
    painter.drawRect(QRectF(nLeft + 11, 8, 2, 8));
    painter.drawRect(QRectF(nLeft + 8, 11, 8, 2));

    // Set Default Path.
    const qreal nRight = IMAGE_SIZE * 2;
    DrawFolder(painter, QRectF(nRight + 0.5, 1.5, 13, 11));
    painter.setPen(QPen(QColor(0x1f, 0x7a, 0x2c), 2, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    QPainterPath check;
    check.moveTo(nRight + 7, 11);
    check.lineTo(nRight + 10, 14);
    check.lineTo(nRight + 15, 7);
    painter.drawPath(check);
    painter.end();
    return strip;
}

} // namespace

CFolderToolBar::CFolderToolBar(QWidget* pParent) : QToolBar(pParent)
{
    setObjectName(QStringLiteral("FolderToolBar"));
    // Locked in the pane: not moved, floated or customised.
    setMovable(false);
    setFloatable(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setIconSize(QSize(IMAGE_SIZE, IMAGE_SIZE));
    setToolButtonStyle(Qt::ToolButtonIconOnly);

    const QPixmap strip = BuildButtonImages();
    auto image = [&](int nIndex)
    { return strip.copy(nIndex * IMAGE_SIZE, 0, IMAGE_SIZE, IMAGE_SIZE); };
    m_pIncludeSubdirectories = MakeButton(ID_INCLUDE_SUBDIRECTORIES, image(0), true);
    m_pAppendToList = MakeButton(ID_APPEND_TO_LIST, image(1), true);
    m_pSetDefaultPath = MakeButton(ID_SET_DEFAULT_PATH, image(2), false);

    addAction(m_pIncludeSubdirectories.get());
    addAction(m_pAppendToList.get());
    addSeparator();
    addAction(m_pSetDefaultPath.get());
    for (QAction* pAction :
         {m_pIncludeSubdirectories.get(), m_pAppendToList.get(), m_pSetDefaultPath.get()})
    {
        if (QWidget* pButton = widgetForAction(pAction))
            pButton->setFixedSize(BUTTON_WIDTH, BUTTON_HEIGHT);
    }
}

std::unique_ptr<QAction> CFolderToolBar::MakeButton(UINT nID, const QPixmap& image, bool bCheckable)
{
    auto pAction = std::make_unique<QAction>(QIcon(image), ButtonText(nID, 1));
    pAction->setObjectName(QString::number(nID));
    pAction->setData(nID);
    pAction->setToolTip(ButtonText(nID, 1));
    pAction->setStatusTip(ButtonText(nID, 0));
    pAction->setCheckable(bCheckable);
    // The pane decides the pressed state; the button only reports the command.
    connect(pAction.get(), &QAction::triggered, this, [this, nID] { emit command(nID); });
    return pAction;
}

QAction* CFolderToolBar::GetAction(UINT nID) const
{
    switch (nID)
    {
    case ID_INCLUDE_SUBDIRECTORIES:
        return m_pIncludeSubdirectories.get();
    case ID_APPEND_TO_LIST:
        return m_pAppendToList.get();
    case ID_SET_DEFAULT_PATH:
        return m_pSetDefaultPath.get();
    default:
        return nullptr;
    }
}

void CFolderToolBar::SetButtonStates(BOOL bIncludeSubfolders, BOOL bAppendToList)
{
    m_pIncludeSubdirectories->setChecked(bIncludeSubfolders != FALSE);
    m_pAppendToList->setChecked(bAppendToList != FALSE);
    for (QAction* pAction :
         {m_pIncludeSubdirectories.get(), m_pAppendToList.get(), m_pSetDefaultPath.get()})
        pAction->setEnabled(true);
}
