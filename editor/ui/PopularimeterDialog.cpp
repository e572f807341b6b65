#include "editor/ui/PopularimeterDialog.h"

#include "browser/ui/QtString.h"
#include "editor/FrameDialogFields.h"
#include "res/StringTable.h"
#include "tags/id3v2/frames/PopularimeterFrame.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSlider>
#include <QStyle>
#include <QToolTip>

using namespace Tags::ID3v2Tag;

namespace
{

// A label drawn in the highlight colour.
QLabel* CreateHighlightedLabel(const QString& strText, const QString& strID, QWidget* pParent)
{
    auto* pLabel = new QLabel(strText, pParent);
    pLabel->setObjectName(strID);
    QPalette palette = pLabel->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Highlight));
    pLabel->setPalette(palette);
    return pLabel;
}

} // namespace

CPopularimeterDialog::CPopularimeterDialog(QWidget* pParent) : CFrameBaseDialog(pParent)
{
    setObjectName(QStringLiteral("336"));

    auto* pEmailLabel = new QLabel(QStringLiteral("User e-&mail:"), this);
    m_pEmail = new QLineEdit(this);
    m_pEmail->setObjectName(QStringLiteral("1020"));
    pEmailLabel->setBuddy(m_pEmail);

    auto* pRatingLabel = new QLabel(QStringLiteral("&Rating:"), this);
    QLabel* pWorst = CreateHighlightedLabel(QStringLiteral("Worst"), QStringLiteral("1023"), this);
    m_pRating = new QSlider(Qt::Horizontal, this);
    m_pRating->setObjectName(QStringLiteral("1021"));
    m_pRating->setRange(0, 255);
    m_pRating->setPageStep(16);
    m_pRating->setFocusPolicy(Qt::StrongFocus);
    pRatingLabel->setBuddy(m_pRating);
    QLabel* pBest = CreateHighlightedLabel(QStringLiteral("Best"), QStringLiteral("1024"), this);

    auto* pCounterLabel = new QLabel(QStringLiteral("Co&unter:"), this);
    m_pCounter = new QLineEdit(this);
    m_pCounter->setObjectName(QStringLiteral("1022"));
    m_pCounter->installEventFilter(this);
    pCounterLabel->setBuddy(m_pCounter);

    auto* pBody = new QGridLayout;
    pBody->addWidget(pEmailLabel, 0, 0);
    pBody->addWidget(m_pEmail, 0, 1, 1, 3);
    pBody->addWidget(pRatingLabel, 1, 0);
    pBody->addWidget(pWorst, 1, 1);
    pBody->addWidget(m_pRating, 1, 2);
    pBody->addWidget(pBest, 1, 3);
    pBody->addWidget(pCounterLabel, 2, 0);
    pBody->addWidget(m_pCounter, 2, 1, 1, 3);
    pBody->setColumnStretch(2, 1);
    pBody->setRowStretch(3, 1);
    SetBody(pBody);
    // 270 x 135 dialog units.
    resize(405, 219);

    connect(m_pRating, &QSlider::valueChanged, this, &CPopularimeterDialog::OnRatingChanged);
}

BOOL CPopularimeterDialog::EditFrame(CFrame* pFrame)
{
    m_pPopularimeter = dynamic_cast<CPopularimeterFrame*>(pFrame);
    return m_pPopularimeter ? CFrameBaseDialog::EditFrame(pFrame) : FALSE;
}

void CPopularimeterDialog::OnInitDialog()
{
    m_pEmail->setText(ToQString(m_pPopularimeter->m_strEmail));
    m_pRating->setValue(m_pPopularimeter->m_nRating);
    OnRatingChanged(m_pRating->value());
    m_pCounter->setText(QString::number(m_pPopularimeter->m_nCounter));
}

void CPopularimeterDialog::OnRatingChanged(int nRating)
{
    const QString strValue = QString::number(nRating);
    m_pRating->setToolTip(strValue);
    // The value tip stands above the handle while the user moves it.
    if (!m_pRating->isVisible() || !(m_pRating->isSliderDown() || m_pRating->hasFocus()))
        return;
    const int nHandle =
        m_pRating->style()->pixelMetric(QStyle::PM_SliderLength, nullptr, m_pRating);
    const int nX = QStyle::sliderPositionFromValue(m_pRating->minimum(), m_pRating->maximum(),
                                                   nRating, m_pRating->width() - nHandle) +
                   nHandle / 2;
    const QPoint pos = m_pRating->mapToGlobal(QPoint(nX, 0));
    QToolTip::showText(pos - QPoint(0, m_pRating->fontMetrics().height() * 2), strValue, m_pRating);
}

bool CPopularimeterDialog::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    // The counter takes typed digits only; what is pasted is checked on OK.
    if (pWatched == m_pCounter && pEvent->type() == QEvent::KeyPress)
    {
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        const bool bCommand = pKey->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
        const QString strText = pKey->text();
        if (!bCommand && !strText.isEmpty() && strText.at(0).isPrint())
        {
            for (const QChar ch : strText)
            {
                if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
                {
                    QApplication::beep();
                    return true;
                }
            }
        }
    }
    return CFrameBaseDialog::eventFilter(pWatched, pEvent);
}

void CPopularimeterDialog::OnOK()
{
    UINT nCounter = 0;
    if (!ParseCounter(ToCString(m_pCounter->text()), nCounter))
    {
        QMessageBox box(QMessageBox::Warning,
                        ToQString(Res::LoadResourceString(Res::IDS_APP_TITLE)),
                        ToQString(Res::LoadResourceString(Res::IDS_ENTER_POSITIVE_INTEGER)),
                        QMessageBox::Ok, this);
        box.exec();
        m_pCounter->setFocus();
        m_pCounter->selectAll();
        return;
    }
    m_pPopularimeter->m_strEmail = ToCString(m_pEmail->text());
    m_pPopularimeter->m_nRating = m_pRating->value();
    m_pPopularimeter->m_nCounter = nCounter;
    CFrameBaseDialog::OnOK();
}
