#include "app/ui/AboutDlg.h"

#include "app/ui/CommandIcons.h"
#include "app/ui/TermOfUseDialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

namespace
{

constexpr int PICTURE_WIDTH = 270;
constexpr int PICTURE_HEIGHT = 130;
constexpr int PALETTE_SIZE = 256;

constexpr char MAIL_ADDRESS[] = "tagwright@corvell.example";

// The artwork in full colour: a night-blue ground, a tag, the name and a sound wave.
QImage DrawArtwork()
{
    QImage image(PICTURE_WIDTH, PICTURE_HEIGHT, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient ground(0, 0, 0, PICTURE_HEIGHT);
    ground.setColorAt(0.0, QColor(28, 58, 92));
    ground.setColorAt(1.0, QColor(8, 20, 36));
    p.fillRect(image.rect(), ground);
    QLinearGradient glow(0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
    glow.setColorAt(0.0, QColor(90, 150, 210, 70));
    glow.setColorAt(0.6, QColor(90, 150, 210, 0));
    p.fillRect(image.rect(), glow);

    // The sound wave along the bottom: bars that swell towards the middle.
    const QColor amber(240, 160, 40);
    const QColor pale(255, 220, 140);
    for (int nBar = 0; nBar < 61; ++nBar)
    {
        const double dX = 14.0 + nBar * 4.0;
        const double dEnvelope = std::sin(3.14159265 * (nBar + 0.5) / 61.0);
        const double dWave = 0.55 + 0.45 * std::sin(nBar * 0.9) * std::cos(nBar * 0.23 + 1.0);
        const double dHalf = 2.0 + 17.0 * dEnvelope * std::abs(dWave);
        QLinearGradient bar(0, 100 - dHalf, 0, 100 + dHalf);
        bar.setColorAt(0.0, pale);
        bar.setColorAt(0.5, amber);
        bar.setColorAt(1.0, pale);
        p.setPen(Qt::NoPen);
        p.setBrush(bar);
        p.drawRoundedRect(QRectF(dX, 100 - dHalf, 2.6, 2 * dHalf), 1.2, 1.2);
    }

    // The tag: a card with a cut corner side and a hole, tilted a little.
    p.save();
    p.translate(40, 40);
    p.rotate(-12);
    QPainterPath tag;
    tag.moveTo(-22, -14);
    tag.lineTo(14, -14);
    tag.lineTo(26, 0);
    tag.lineTo(14, 14);
    tag.lineTo(-22, 14);
    tag.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(13, 0), 3.5, 3.5);
    p.setPen(QPen(QColor(120, 70, 10), 1.5));
    p.setBrush(amber);
    p.drawPath(tag.subtracted(hole));
    p.setPen(QPen(QColor(60, 40, 10), 2.0, Qt::SolidLine, Qt::RoundCap));
    for (int nLine = 0; nLine < 3; ++nLine)
        p.drawLine(QPointF(-16, -6 + nLine * 6), QPointF(nLine == 2 ? -2 : 4, -6 + nLine * 6));
    p.restore();

    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(30);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(245, 248, 252));
    p.drawText(QRectF(78, 14, 186, 40), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Tagwright"));
    QFont subtitle(QStringLiteral("Sans Serif"));
    subtitle.setPixelSize(11);
    p.setFont(subtitle);
    p.setPen(QColor(170, 200, 230));
    p.drawText(QRectF(80, 52, 186, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("tags of MPEG audio files"));
    p.end();
    return image;
}

// A colour table of at most nSize entries for the image by median cut: the colours are split
// again and again along their widest channel, and each part gives its average.
QList<QRgb> MedianCutPalette(const QImage& image, int nSize)
{
    struct tagENTRY
    {
        QRgb rgb;
        qint64 nCount;
    };
    std::unordered_map<QRgb, qint64> counts;
    for (int y = 0; y < image.height(); ++y)
    {
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000u];
    }
    std::vector<tagENTRY> entries;
    entries.reserve(counts.size());
    for (const auto& [rgb, nCount] : counts)
        entries.push_back({rgb, nCount});
    // A fixed order, so that the picture is the same on every run.
    std::sort(entries.begin(), entries.end(),
              [](const tagENTRY& a, const tagENTRY& b) { return a.rgb < b.rgb; });

    const auto channel = [](QRgb rgb, int nChannel) {
        return nChannel == 0 ? qRed(rgb) : nChannel == 1 ? qGreen(rgb) : qBlue(rgb);
    };
    struct tagBOX
    {
        size_t nBegin;
        size_t nEnd;
    };
    std::vector<tagBOX> boxes;
    if (!entries.empty())
        boxes.push_back({0, entries.size()});
    while (static_cast<int>(boxes.size()) < nSize)
    {
        int nBest = -1;
        int nBestRange = 0;
        int nBestChannel = 0;
        for (size_t i = 0; i < boxes.size(); ++i)
        {
            if (boxes[i].nEnd - boxes[i].nBegin < 2)
                continue;
            for (int nChannel = 0; nChannel < 3; ++nChannel)
            {
                int nMin = 255;
                int nMax = 0;
                for (size_t k = boxes[i].nBegin; k < boxes[i].nEnd; ++k)
                {
                    nMin = std::min(nMin, channel(entries[k].rgb, nChannel));
                    nMax = std::max(nMax, channel(entries[k].rgb, nChannel));
                }
                if (nMax - nMin > nBestRange)
                {
                    nBest = static_cast<int>(i);
                    nBestRange = nMax - nMin;
                    nBestChannel = nChannel;
                }
            }
        }
        if (nBest < 0)
            break;
        tagBOX& box = boxes[static_cast<size_t>(nBest)];
        const auto first = entries.begin() + static_cast<std::ptrdiff_t>(box.nBegin);
        const auto last = entries.begin() + static_cast<std::ptrdiff_t>(box.nEnd);
        std::stable_sort(first, last,
                         [&](const tagENTRY& a, const tagENTRY& b)
                         { return channel(a.rgb, nBestChannel) < channel(b.rgb, nBestChannel); });
        qint64 nTotal = 0;
        for (auto it = first; it != last; ++it)
            nTotal += it->nCount;
        size_t nSplit = box.nBegin + 1;
        qint64 nSum = 0;
        for (size_t k = box.nBegin; k < box.nEnd - 1; ++k)
        {
            nSum += entries[k].nCount;
            nSplit = k + 1;
            if (2 * nSum >= nTotal)
                break;
        }
        const size_t nEnd = box.nEnd;
        box.nEnd = nSplit;
        boxes.push_back({nSplit, nEnd});
    }

    QList<QRgb> palette;
    for (const tagBOX& box : boxes)
    {
        qint64 nRed = 0;
        qint64 nGreen = 0;
        qint64 nBlue = 0;
        qint64 nCount = 0;
        for (size_t k = box.nBegin; k < box.nEnd; ++k)
        {
            nRed += qRed(entries[k].rgb) * entries[k].nCount;
            nGreen += qGreen(entries[k].rgb) * entries[k].nCount;
            nBlue += qBlue(entries[k].rgb) * entries[k].nCount;
            nCount += entries[k].nCount;
        }
        palette.append(qRgb(static_cast<int>(nRed / nCount), static_cast<int>(nGreen / nCount),
                            static_cast<int>(nBlue / nCount)));
    }
    return palette;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent)
{
    setObjectName(QStringLiteral("100"));
    setWindowTitle(QStringLiteral("About Tagwright"));

    auto* pEmblem = new QLabel(this);
    pEmblem->setObjectName(QStringLiteral("101"));
    pEmblem->setPixmap(CommandIcons::GetAppIcon().pixmap(32, 32));
    pEmblem->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* pName = new QLabel(QStringLiteral("Tagwright"), this);
    pName->setObjectName(QStringLiteral("1000"));
    auto* pVersion = new QLabel(QStringLiteral("Version: 2.5.0"), this);
    pVersion->setObjectName(QStringLiteral("1001"));
    auto* pRights =
        new QLabel(QStringLiteral("Copyright (C) 2026 Corvell. All rights reserved."), this);
    pRights->setObjectName(QStringLiteral("1002"));
    auto* pLicence = new QLabel(
        QStringLiteral("Free to use under the <a href=\"terms\">Term of Use</a>."), this);
    pLicence->setObjectName(QStringLiteral("1003"));
    auto* pMail = new QLabel(QStringLiteral("Contact: <a href=\"mailto:%1\">%1</a>")
                                 .arg(QString::fromLatin1(MAIL_ADDRESS)),
                             this);
    pMail->setObjectName(QStringLiteral("1004"));
    for (QLabel* pLink : {pLicence, pMail})
    {
        pLink->setTextFormat(Qt::RichText);
        pLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        pLink->setOpenExternalLinks(false);
    }
    connect(pLicence, &QLabel::linkActivated, this, [this] { OnLicenceLink(); });
    connect(pMail, &QLabel::linkActivated, this,
            [this](const QString& strLink) { OnMailLink(strLink); });

    m_pPicture = new QFrame(this);
    m_pPicture->setObjectName(QStringLiteral("1005"));
    m_pPicture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_pPicture->setLineWidth(1);
    m_pPicture->setFixedSize(PICTURE_WIDTH + 2 * m_pPicture->frameWidth(),
                             PICTURE_HEIGHT + 2 * m_pPicture->frameWidth());
    m_pPicture->installEventFilter(this);
    const QImage picture = CreatePicture();
    if (!picture.isNull())
        m_picture = QPixmap::fromImage(picture);

    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* pOk = pButtons->button(QDialogButtonBox::Ok);
    pOk->setText(QStringLiteral("OK"));
    pOk->setObjectName(QStringLiteral("1"));
    pOk->setDefault(true);
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* pTexts = new QVBoxLayout;
    for (QLabel* pLabel : {pName, pVersion, pRights, pLicence, pMail})
        pTexts->addWidget(pLabel);
    auto* pTop = new QHBoxLayout;
    pTop->addWidget(pEmblem, 0, Qt::AlignTop);
    pTop->addSpacing(8);
    pTop->addLayout(pTexts, 1);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pTop);
    pLayout->addWidget(m_pPicture, 0, Qt::AlignHCenter);
    pLayout->addWidget(pButtons);
    pLayout->setSizeConstraint(QLayout::SetFixedSize);
}

int CAboutDlg::DoModal()
{
    return exec();
}

QString CAboutDlg::GetMailAddress()
{
    return QString::fromLatin1(MAIL_ADDRESS);
}

QImage CAboutDlg::CreatePicture()
{
    const QImage artwork = DrawArtwork();
    if (artwork.isNull())
        return QImage();
    QList<QRgb> palette = MedianCutPalette(artwork, PALETTE_SIZE);
    // Unused entries of a picture with few colours stay black.
    while (palette.size() < PALETTE_SIZE)
        palette.append(qRgb(0, 0, 0));
    QImage picture = artwork.convertToFormat(QImage::Format_Indexed8, palette);
    if (picture.colorCount() != PALETTE_SIZE)
        picture.setColorTable(palette);
    return picture;
}

QPoint CAboutDlg::GetPictureOrigin(const QSize& sizeFrame, const QSize& sizePicture)
{
    // Integer division rounds toward zero.
    return QPoint(sizeFrame.width() / 2 - sizePicture.width() / 2,
                  sizeFrame.height() / 2 - sizePicture.height() / 2);
}

bool CAboutDlg::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    // The frame draws its sunken edge itself after this.
    if (pWatched == m_pPicture && pEvent->type() == QEvent::Paint)
        DrawPicture();
    return QDialog::eventFilter(pWatched, pEvent);
}

void CAboutDlg::DrawPicture()
{
    const QRect rcInside = m_pPicture->contentsRect();
    QPainter p(m_pPicture);
    p.setClipRect(rcInside);
    p.fillRect(rcInside, Qt::black);
    if (m_picture.isNull())
        return;
    const QPoint ptOrigin = GetPictureOrigin(rcInside.size(), m_picture.size());
    p.drawPixmap(rcInside.topLeft() + ptOrigin, m_picture);
}

void CAboutDlg::OnLicenceLink()
{
    CTermOfUseDialog dialog(this);
    dialog.DoModal();
}

void CAboutDlg::OnMailLink(const QString& strLink)
{
    // Whatever the desktop does with it; nothing to report when no mail program is set up.
    QDesktopServices::openUrl(QUrl(strLink));
}
