// The about box and the terms-of-use viewer: their texts, the two links, and where the picture
// lands in its frame.
#include "AppTestEnv.h"

#include "app/ui/AboutDlg.h"
#include "app/ui/App.h"
#include "app/ui/CommandIds.h"
#include "app/ui/TermOfUseDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>

namespace
{

template <typename T> T* Find(const QWidget& parent, const char* szName)
{
    return parent.findChild<T*>(QString::fromLatin1(szName));
}

// Activates the first link of a label from the keyboard, as a person tabbing to it would.
void ActivateLink(QLabel* pLabel)
{
    QVERIFY(pLabel);
    pLabel->setFocus(Qt::TabFocusReason);
    QTest::keyClick(pLabel, Qt::Key_Tab);
    QTest::keyClick(pLabel, Qt::Key_Return);
}

// Runs act on the next modal dialog, which is closed afterwards if act left it open. Nothing
// runs once pContext is gone.
void WhenModal(QObject* pContext, const std::function<void(QWidget&)>& act, bool* pRan)
{
    QTimer::singleShot(0, pContext,
                       [act, pRan]
                       {
                           QWidget* pModal = QApplication::activeModalWidget();
                           if (!pModal)
                               return;
                           *pRan = true;
                           act(*pModal);
                           if (pModal->isVisible())
                               pModal->close();
                       });
}

QRgb Rgb(QRgb rgb)
{
    return rgb & 0xffffffu;
}

// Checks that the frame's inside (width x height) shows the picture at origin on black.
void CheckPlacement(CAboutDlg& dialog, int nWidth, int nHeight, QPoint ptOrigin)
{
    auto* pFrame = Find<QFrame>(dialog, "1005");
    QVERIFY(pFrame);
    const int nEdge = pFrame->frameWidth();
    pFrame->setFixedSize(nWidth + 2 * nEdge, nHeight + 2 * nEdge);
    const QImage shot = pFrame->grab().toImage();
    const QImage picture = CAboutDlg::CreatePicture();
    int nPictureSeen = 0;
    for (int y = 0; y < nHeight; ++y)
    {
        for (int x = 0; x < nWidth; ++x)
        {
            const QPoint ptPicture = QPoint(x, y) - ptOrigin;
            const QRgb rgbShown = Rgb(shot.pixel(x + nEdge, y + nEdge));
            if (picture.rect().contains(ptPicture))
            {
                ++nPictureSeen;
                if (rgbShown != Rgb(picture.pixel(ptPicture)))
                    QFAIL(qPrintable(QStringLiteral("picture pixel %1,%2 at %3,%4")
                                         .arg(ptPicture.x())
                                         .arg(ptPicture.y())
                                         .arg(x)
                                         .arg(y)));
            }
            else if (rgbShown != 0)
            {
                QFAIL(qPrintable(QStringLiteral("not black at %1,%2").arg(x).arg(y)));
            }
        }
    }
    QVERIFY(nPictureSeen > 0);
}

} // namespace

// Stands in for the desktop's mail program.
class MailCatcher : public QObject
{
    Q_OBJECT

public slots:
    void open(const QUrl& url) { m_urls << url; }

public:
    QList<QUrl> m_urls;
};

class AboutDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void textsOfTheAboutBox()
    {
        CAboutDlg dialog;
        QCOMPARE(dialog.objectName(), QStringLiteral("100"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("About Tagwright"));
        QCOMPARE(Find<QLabel>(dialog, "1000")->text(), QStringLiteral("Tagwright"));
        QCOMPARE(Find<QLabel>(dialog, "1001")->text(), QStringLiteral("Version: 2.5.0"));
        QVERIFY(Find<QLabel>(dialog, "1002")->text().contains(QStringLiteral("Corvell")));
        QVERIFY(Find<QLabel>(dialog, "1003")->text().contains(QStringLiteral("<a href=")));
        // The mail link shows the address it opens.
        const QString strMail = Find<QLabel>(dialog, "1004")->text();
        QVERIFY(strMail.contains(QStringLiteral(">%1</a>").arg(CAboutDlg::GetMailAddress())));
        QVERIFY(!Find<QLabel>(dialog, "101")->pixmap().isNull());
        QCOMPARE(Find<QPushButton>(dialog, "1")->text(), QStringLiteral("OK"));
    }

    void mailLinkOpensTheMailProgram()
    {
        CAboutDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        MailCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
        ActivateLink(Find<QLabel>(dialog, "1004"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QCOMPARE(catcher.m_urls,
                 QList<QUrl>{QUrl(QStringLiteral("mailto:") + CAboutDlg::GetMailAddress())});
        // Nothing else opened meanwhile, and the box stays.
        QVERIFY(dialog.isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    void licenceLinkOpensTheTerms()
    {
        CAboutDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        bool bRan = false;
        WhenModal(
            &dialog,
            [&dialog](QWidget& modal)
            {
                auto* pTerms = qobject_cast<CTermOfUseDialog*>(&modal);
                QVERIFY(pTerms);
                QCOMPARE(pTerms->parentWidget(), &dialog);
                QCOMPARE(pTerms->objectName(), QStringLiteral("102"));
                QCOMPARE(pTerms->windowTitle(), QStringLiteral("Term of Use"));
                auto* pText = Find<QPlainTextEdit>(modal, "1006");
                QVERIFY(pText->isReadOnly());
                QCOMPARE(pText->toPlainText(), CTermOfUseDialog::GetText());
                // The offscreen platform activates only on request.
                pTerms->activateWindow();
                QVERIFY(
                    QTest::qWaitFor([pTerms] { return QApplication::activeWindow() == pTerms; }));
                // The text is out of the tab order: OK has the focus and keeps it.
                auto* pOk = Find<QPushButton>(modal, "1");
                QCOMPARE(QApplication::focusWidget(), pOk);
                QTest::keyClick(pOk, Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget(), pOk);
                QTest::mouseClick(pOk, Qt::LeftButton);
                QVERIFY(!pTerms->isVisible());
            },
            &bRan);
        ActivateLink(Find<QLabel>(dialog, "1003"));
        QVERIFY(bRan);
        QVERIFY(dialog.isVisible());
    }

    void termsTextIsTheDeliveredFile()
    {
        const QString strText = CTermOfUseDialog::GetText();
        const QStringList arrLines = strText.split(QLatin1Char('\n'));
        QVERIFY(arrLines.size() > 8);
        // Headed by the name and "Term of Use" between two lines of equals signs.
        QVERIFY(arrLines[0].startsWith(QStringLiteral("=====")));
        QVERIFY(arrLines[1].contains(QStringLiteral("Tagwright")));
        QVERIFY(arrLines[1].contains(QStringLiteral("Term of Use")));
        QCOMPARE(arrLines[2], arrLines[0]);
        // "TermOfUse.txt" beside the program says the same.
        QFile file(QFileInfo(QStringLiteral(__FILE__)).absolutePath() +
                   QStringLiteral("/../../../res/TermOfUse.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()), strText);
    }

    void pictureIsIndexedColour()
    {
        const QImage picture = CAboutDlg::CreatePicture();
        QCOMPARE(picture.size(), QSize(270, 130));
        QCOMPARE(picture.format(), QImage::Format_Indexed8);
        QCOMPARE(picture.colorCount(), 256);
        QSet<int> used;
        for (int y = 0; y < picture.height(); ++y)
        {
            for (int x = 0; x < picture.width(); ++x)
                used.insert(picture.pixelIndex(x, y));
        }
        // A picture, not a plain colour field.
        QVERIFY(used.size() > 100);
        // The same picture every time.
        QCOMPARE(CAboutDlg::CreatePicture(), picture);
    }

    void pictureIsCentredInItsFrame()
    {
        CAboutDlg dialog;
        // The frame as laid out fits the picture exactly.
        auto* pFrame = Find<QFrame>(dialog, "1005");
        QCOMPARE(pFrame->contentsRect().size(), QSize(270, 130));
        QCOMPARE(pFrame->frameShadow(), QFrame::Sunken);
        CheckPlacement(dialog, 270, 130, QPoint(0, 0));
        // Larger: black around it, the same on each side.
        CheckPlacement(dialog, 400, 200, QPoint(65, 35));
        // Smaller: cut equally on both sides.
        CheckPlacement(dialog, 200, 100, QPoint(-35, -15));
        // Odd sizes: the halves round toward zero.
        CheckPlacement(dialog, 271, 131, QPoint(0, 0));
        CheckPlacement(dialog, 269, 129, QPoint(-1, -1));
    }

    void aboutCommandOpensTheBox()
    {
        CAppTestEnv env;
        CApp app;
        tagCMDSTATE state;
        QVERIFY(app.OnUpdateCommand(Cmd::ID_APP_ABOUT, state));
        QVERIFY(state.bEnabled);
        bool bRan = false;
        QObject context;
        WhenModal(
            &context,
            [](QWidget& modal)
            {
                QVERIFY(qobject_cast<CAboutDlg*>(&modal));
                QTest::mouseClick(Find<QPushButton>(modal, "1"), Qt::LeftButton);
                QVERIFY(!modal.isVisible());
            },
            &bRan);
        QVERIFY(app.OnCommand(Cmd::ID_APP_ABOUT));
        QVERIFY(bRan);
    }
};

QTEST_MAIN(AboutDlgTest)
#include "AboutDlgTest.moc"
