#include "editor/ui/BalloonTip.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QStyle>
#include <QTimer>

namespace
{

constexpr int BALLOON_TIMEOUT_MS = 8000;

QStyle::StandardPixmap IconPixmap(QMessageBox::Icon icon)
{
    switch (icon)
    {
    case QMessageBox::Critical:
        return QStyle::SP_MessageBoxCritical;
    case QMessageBox::Information:
        return QStyle::SP_MessageBoxInformation;
    default:
        return QStyle::SP_MessageBoxWarning;
    }
}

} // namespace

CBalloonTip::CBalloonTip(QWidget* pAnchor, const QString& strTitle, const QString& strText,
                         QMessageBox::Icon icon)
    : QFrame(pAnchor, Qt::ToolTip), m_strTitle(strTitle), m_strText(strText)
{
    setObjectName(QStringLiteral("BalloonTip"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::Box);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    auto* pLayout = new QGridLayout(this);
    auto* pIcon = new QLabel(this);
    const int nSize = style()->pixelMetric(QStyle::PM_SmallIconSize);
    pIcon->setPixmap(style()->standardIcon(IconPixmap(icon)).pixmap(nSize, nSize));
    auto* pTitle = new QLabel(QStringLiteral("<b>%1</b>").arg(strTitle.toHtmlEscaped()), this);
    auto* pText = new QLabel(strText, this);
    pLayout->addWidget(pIcon, 0, 0);
    pLayout->addWidget(pTitle, 0, 1);
    pLayout->addWidget(pText, 1, 1);
    qApp->installEventFilter(this);
    QTimer::singleShot(BALLOON_TIMEOUT_MS, this, &QWidget::close);
}

CBalloonTip* CBalloonTip::ShowBalloonTip(QWidget* pAnchor, const QString& strTitle,
                                         const QString& strText, QMessageBox::Icon icon)
{
    auto* pTip = new CBalloonTip(pAnchor, strTitle, strText, icon);
    pTip->adjustSize();
    pTip->move(pAnchor->mapToGlobal(QPoint(pAnchor->width() / 2, pAnchor->height())));
    pTip->show();
    return pTip;
}

bool CBalloonTip::eventFilter(QObject* pObject, QEvent* pEvent)
{
    switch (pEvent->type())
    {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::WindowDeactivate:
        close();
        break;
    default:
        break;
    }
    return QFrame::eventFilter(pObject, pEvent);
}
