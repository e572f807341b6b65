// The picture frame dialog with real image files: what a frame opens with, loading a picture
// from a file, the clipboard or a drop, saving it in a chosen format, and what OK and Cancel
// leave in the frame.
#include "editor/ui/PictureFrameDialog.h"
#include "browser/ui/QtString.h"
#include "editor/ui/PicturePreview.h"
#include "fixtures/TempDir.h"
#include "tags/id3v2/frames/PictureFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

#include <filesystem>
#include <functional>
#include <memory>
#include <sys/stat.h>

using Tags::ID3v2Tag::CPictureFrame;

namespace
{

const QByteArray PngSignature("\x89PNG\r\n\x1a\n");
const QByteArray JpegSignature("\xFF\xD8\xFF");
const QString LoadFailed =
    QStringLiteral("Load image failed.\nThe image maybe damaged or be in unsupported format.");

// Answers the file dialogs as the user would, with the path and format set beforehand, and
// keeps the filters they offered.
class CTestPictureDialog : public CPictureFrameDialog
{
public:
    QString m_strOpenPath;
    QString m_strSavePath;
    QString m_strSaveFilter; // the first words of the entry chosen, such as "PNG ("
    tagIMAGEFILTER m_openFilter;
    tagIMAGEFILTER m_saveFilter;

protected:
    QString GetOpenPath(const tagIMAGEFILTER& filter) override
    {
        m_openFilter = filter;
        return m_strOpenPath;
    }

    QString GetSavePath(const tagIMAGEFILTER& filter, int& nFilter) override
    {
        m_saveFilter = filter;
        nFilter = -1;
        for (int n = 0; n < filter.arrFilters.size() && nFilter < 0; ++n)
        {
            if (filter.arrFilters[n].startsWith(m_strSaveFilter))
                nFilter = n;
        }
        return m_strSavePath;
    }
};

// Records every message box and closes it with OK as soon as it shows.
class CMessageBoxes : public QObject
{
public:
    CMessageBoxes() { qApp->installEventFilter(this); }
    ~CMessageBoxes() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* pObject, QEvent* pEvent) override
    {
        auto* pBox = qobject_cast<QMessageBox*>(pObject);
        if (pBox && pEvent->type() == QEvent::Show)
        {
            m_arrTexts.append(pBox->text());
            m_arrIcons.append(pBox->icon());
            QMetaObject::invokeMethod(
                pBox, [pBox] { pBox->done(QMessageBox::Ok); }, Qt::QueuedConnection);
        }
        return false;
    }

    QStringList m_arrTexts;
    QList<QMessageBox::Icon> m_arrIcons;
};

// Runs fn once the dialog shows; a dialog fn left open is cancelled.
class CShowHook : public QObject
{
public:
    CShowHook(QDialog& dialog, std::function<void()> fn) : m_dialog(dialog), m_fn(std::move(fn))
    {
        m_dialog.installEventFilter(this);
    }

    bool eventFilter(QObject* pObject, QEvent* pEvent) override
    {
        if (pObject == &m_dialog && pEvent->type() == QEvent::Show && m_fn)
        {
            QMetaObject::invokeMethod(
                this,
                [this]
                {
                    std::function<void()> fn = std::move(m_fn);
                    fn();
                    if (m_dialog.isVisible())
                        m_dialog.reject();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QDialog& m_dialog;
    std::function<void()> m_fn;
};

template <class T> T* Child(QWidget& dialog, const char* szID)
{
    return dialog.findChild<T*>(QLatin1String(szID));
}

QToolButton* Button(QWidget& dialog, const char* szID)
{
    return Child<QToolButton>(dialog, szID);
}

void Click(QWidget* pWidget)
{
    QVERIFY(pWidget);
    QTest::mouseClick(pWidget, Qt::LeftButton);
}

QByteArray ReadBytes(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray FrameBytes(const CPictureFrame& frame)
{
    return QByteArray(reinterpret_cast<const char*>(frame.GetData()),
                      static_cast<qsizetype>(frame.GetDataSize()));
}

void SetFrameBytes(CPictureFrame& frame, const QByteArray& bytes)
{
    frame.SetData(reinterpret_cast<const BYTE*>(bytes.constData()),
                  static_cast<UINT>(bytes.size()));
}

// The smallest rectangle holding every red pixel of the image.
QRect FindRed(const QImage& image)
{
    QRect found;
    for (int y = 0; y < image.height(); ++y)
    {
        for (int x = 0; x < image.width(); ++x)
        {
            const QColor color = image.pixelColor(x, y);
            if (color.red() > 200 && color.green() < 60 && color.blue() < 60)
                found |= QRect(x, y, 1, 1);
        }
    }
    return found;
}

} // namespace

class PictureFrameDialogTest : public QObject
{
    Q_OBJECT

    // An image file of the size, filled with the colour, in the format.
    QString WriteImage(const std::string& strName, int nWidth, int nHeight, const char* szFormat,
                       QColor color = Qt::red)
    {
        QImage image(nWidth, nHeight, QImage::Format_ARGB32);
        image.fill(color);
        const QString strPath = QString::fromStdString(m_pDir->PathOf(strName).string());
        return image.save(strPath, szFormat) ? strPath : QString();
    }

    QString PathOf(const std::string& strName) const
    {
        return QString::fromStdString(m_pDir->PathOf(strName).string());
    }

    static BOOL Run(CPictureFrameDialog& dialog, CPictureFrame& frame, std::function<void()> fn)
    {
        CShowHook hook(dialog, std::move(fn));
        return dialog.EditFrame(&frame);
    }

    std::unique_ptr<Fixtures::CTempDir> m_pDir;

private slots:
    void initTestCase()
    {
        // The offscreen platform wants a private runtime folder.
        const QByteArray dir = qgetenv("XDG_RUNTIME_DIR");
        if (!dir.isEmpty())
        {
            std::filesystem::create_directories(dir.constData());
            ::chmod(dir.constData(), 0700);
        }
    }

    void init()
    {
        m_pDir = std::make_unique<Fixtures::CTempDir>();
        QGuiApplication::clipboard()->clear();
    }

    void cleanup() { m_pDir.reset(); }

    void newFrameOpensWithoutPicture()
    {
        CPictureFrame frame;
        CTestPictureDialog dialog;
        const BOOL bOk =
            Run(dialog, frame,
                [&]
                {
                    auto* pType = Child<QComboBox>(dialog, "1012");
                    QCOMPARE(pType->count(), 21);
                    QCOMPARE(pType->itemText(0), QStringLiteral("Other"));
                    QCOMPARE(pType->itemText(20), QStringLiteral("PublisherLogo"));
                    QCOMPARE(pType->currentText(), QStringLiteral("FrontCover"));
                    auto* pDescription = Child<QLineEdit>(dialog, "1013");
                    QVERIFY(pDescription->text().isEmpty());
                    QCOMPARE(pDescription->maxLength(), 64);
                    QVERIFY(Child<QLabel>(dialog, "1015")->text().isEmpty());
                    QCOMPARE(Child<CPicturePreview>(dialog, "1014")->GetText(),
                             QStringLiteral("Please select a picture"));
                    QCOMPARE(Button(dialog, "1016")->toolTip(), QStringLiteral("Select Cover"));
                    QCOMPARE(Button(dialog, "1019")->toolTip(), QStringLiteral("Paste Cover"));
                    QVERIFY(Button(dialog, "1016")->isEnabled());
                    QVERIFY(!Button(dialog, "1017")->isEnabled());
                    QVERIFY(!Button(dialog, "1018")->isEnabled());
                    QVERIFY(!Button(dialog, "1019")->isEnabled());
                    // Return in the description presses OK.
                    QTest::keyClick(pDescription, Qt::Key_Return);
                });
        QVERIFY(bOk);
        QCOMPARE(frame.GetDataSize(), 0u);
        QVERIFY(frame.m_strMimeType.IsEmpty());
        QCOMPARE(frame.m_nPictureType, 3);
        QVERIFY(frame.m_strDescription.IsEmpty());
    }

    void selectKeepsFileBytesAndTakesMimeFromName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("mime");
        QTest::newRow("png") << "cover.png"
                             << "PNG"
                             << "image/png";
        QTest::newRow("JPG") << "photo.JPG"
                             << "JPEG"
                             << "image/jpeg";
        QTest::newRow("PNG") << "art.PNG"
                             << "PNG"
                             << "image/PNG";
    }

    void selectKeepsFileBytesAndTakesMimeFromName()
    {
        QFETCH(QString, name);
        QFETCH(QString, format);
        QFETCH(QString, mime);
        const QString strPath =
            WriteImage(name.toStdString(), 64, 48, format.toLatin1().constData());
        QVERIFY(!strPath.isEmpty());
        CPictureFrame frame;
        CTestPictureDialog dialog;
        dialog.m_strOpenPath = strPath;
        const BOOL bOk =
            Run(dialog, frame,
                [&]
                {
                    QTest::keyClicks(Child<QLineEdit>(dialog, "1013"), QStringLiteral("Front"));
                    QTest::keyClick(Child<QComboBox>(dialog, "1012"), Qt::Key_Down);
                    Click(Button(dialog, "1016"));
                    const QStringList& arrFilters = dialog.m_openFilter.arrFilters;
                    QVERIFY(arrFilters.value(0).startsWith(QStringLiteral("All Formats (")));
                    QVERIFY(arrFilters.value(0).contains(QStringLiteral("*.jpg")));
                    QVERIFY(arrFilters.contains(QStringLiteral("PNG (*.png)")));
                    QCOMPARE(Child<QLabel>(dialog, "1015")->text(), QStringLiteral("64x48 (px)"));
                    QCOMPARE(Child<QLineEdit>(dialog, "1013")->text(), QStringLiteral("Front"));
                    QVERIFY(Button(dialog, "1017")->isEnabled());
                    QVERIFY(Button(dialog, "1018")->isEnabled());
                    Click(Child<QPushButton>(dialog, "1"));
                });
        QVERIFY(bOk);
        QCOMPARE(ToQString(frame.m_strMimeType), mime);
        QCOMPARE(FrameBytes(frame), ReadBytes(strPath));
        QCOMPARE(ToQString(frame.m_strDescription), QStringLiteral("Front"));
        QCOMPARE(frame.m_nPictureType, 4);
    }

    void previewFitsBoxCentred_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QRect>("preview");
        // The box is 200 x 180 inside the control's 1-pixel border.
        QTest::newRow("wide, scaled") << 1000 << 500 << "1000x500 (px)" << QRect(1, 41, 200, 100);
        QTest::newRow("small, own size") << 100 << 80 << "100x80 (px)" << QRect(51, 51, 100, 80);
    }

    void previewFitsBoxCentred()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QString, size);
        QFETCH(QRect, preview);
        CPictureFrame frame;
        SetFrameBytes(frame, ReadBytes(WriteImage("picture.png", width, height, "PNG")));
        CTestPictureDialog dialog;
        Run(dialog, frame,
            [&]
            {
                QCOMPARE(Child<QLabel>(dialog, "1015")->text(), size);
                auto* pPreview = Child<CPicturePreview>(dialog, "1014");
                QCOMPARE(pPreview->size(), QSize(202, 182));
                QVERIFY(pPreview->GetText().isEmpty());
                QCOMPARE(FindRed(pPreview->grab().toImage()), preview);
            });
    }

    void extractSavesInChosenFormat()
    {
        CPictureFrame frame;
        SetFrameBytes(frame, ReadBytes(WriteImage("stored.jpg", 30, 20, "JPEG")));
        const QString strNamed = PathOf("named.jpg");
        CTestPictureDialog dialog;
        CMessageBoxes boxes;
        Run(dialog, frame,
            [&]
            {
                dialog.m_strSaveFilter = QStringLiteral("PNG (");
                dialog.m_strSavePath = PathOf("plain");
                Click(Button(dialog, "1017"));
                QVERIFY(!dialog.m_saveFilter.arrFilters.value(0).startsWith(
                    QStringLiteral("All Formats")));
                QVERIFY(ReadBytes(PathOf("plain.png")).startsWith(PngSignature));
                QVERIFY(!QFile::exists(PathOf("plain")));

                // A name with its own extension keeps it, with the chosen format's data.
                dialog.m_strSavePath = strNamed;
                Click(Button(dialog, "1017"));
                QVERIFY(ReadBytes(strNamed).startsWith(PngSignature));
                QVERIFY(!QFile::exists(strNamed + QStringLiteral(".png")));

                dialog.m_strSaveFilter = QStringLiteral("JPEG (");
                dialog.m_strSavePath = PathOf("missing/cover.jpg");
                Click(Button(dialog, "1017"));
            });
        QCOMPARE(boxes.m_arrTexts, QStringList(QStringLiteral("Enable to save image.\nPath: '%1'")
                                                   .arg(PathOf("missing/cover.jpg"))));
        QCOMPARE(boxes.m_arrIcons, QList<QMessageBox::Icon>{QMessageBox::Critical});
    }

    void copyThenPasteStoresJpeg()
    {
        // Half transparent: pasted as JPEG, that half is white.
        QImage image(40, 30, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        for (int y = 0; y < 30; ++y)
        {
            for (int x = 20; x < 40; ++x)
                image.setPixelColor(x, y, Qt::blue);
        }
        const QString strPath = PathOf("half.png");
        QVERIFY(image.save(strPath, "PNG"));
        CPictureFrame frame;
        frame.m_strMimeType = CString(u"image/png");
        SetFrameBytes(frame, ReadBytes(strPath));
        CTestPictureDialog dialog;
        const BOOL bOk =
            Run(dialog, frame,
                [&]
                {
                    QVERIFY(!Button(dialog, "1019")->isEnabled());
                    Click(Button(dialog, "1018"));
                    QVERIFY(Button(dialog, "1019")->isEnabled());
                    QTest::keyClicks(Child<QLineEdit>(dialog, "1013"), QStringLiteral("typed"));
                    Click(Button(dialog, "1019"));
                    QCOMPARE(Child<QLabel>(dialog, "1015")->text(), QStringLiteral("40x30 (px)"));
                    Click(Child<QPushButton>(dialog, "1"));
                });
        QVERIFY(bOk);
        QCOMPARE(ToQString(frame.m_strMimeType), QStringLiteral("image/jpeg"));
        QCOMPARE(ToQString(frame.m_strDescription), QStringLiteral("typed"));
        const QByteArray bytes = FrameBytes(frame);
        QVERIFY(bytes.startsWith(JpegSignature));
        const QImage pasted = QImage::fromData(bytes, "JPEG");
        QCOMPARE(pasted.size(), QSize(40, 30));
        QVERIFY(pasted.pixelColor(5, 15).lightness() > 240);
        QVERIFY(pasted.pixelColor(35, 15).blue() > 200);
    }

    void droppedImageFileLoads()
    {
        const QString strPath = WriteImage("dropped.png", 50, 40, "PNG");
        CPictureFrame frame;
        CTestPictureDialog dialog;
        const BOOL bOk = Run(
            dialog, frame,
            [&]
            {
                QWindow* pWindow = dialog.windowHandle();
                auto* pPreview = Child<CPicturePreview>(dialog, "1014");
                const QPoint at = pPreview->mapTo(&dialog, pPreview->rect().center());
                // A web address is no file to load.
                QMimeData web;
                web.setUrls({QUrl(QStringLiteral("https://example.org/cover.png"))});
                QDragEnterEvent refused(at, Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
                QGuiApplication::sendEvent(pWindow, &refused);
                QVERIFY(!refused.isAccepted());
                QDragLeaveEvent leave;
                QGuiApplication::sendEvent(pWindow, &leave);

                QMimeData file;
                file.setUrls({QUrl::fromLocalFile(strPath)});
                QDragEnterEvent enter(at, Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
                QGuiApplication::sendEvent(pWindow, &enter);
                QVERIFY(enter.isAccepted());
                QDropEvent drop(at, Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
                QGuiApplication::sendEvent(pWindow, &drop);
                QVERIFY(drop.isAccepted());
                QCoreApplication::processEvents();
                QCOMPARE(Child<QLabel>(dialog, "1015")->text(), QStringLiteral("50x40 (px)"));
                Click(Child<QPushButton>(dialog, "1"));
            });
        QVERIFY(bOk);
        QCOMPARE(ToQString(frame.m_strMimeType), QStringLiteral("image/png"));
        QCOMPARE(FrameBytes(frame), ReadBytes(strPath));
    }

    void undecodableStoredPictureIsKept()
    {
        const QByteArray stored("not a picture at all");
        const CString strLong(QString(70, QLatin1Char('d')).toStdU16String());
        CPictureFrame frame;
        frame.m_strMimeType = CString(u"image/webp");
        frame.m_nPictureType = 25;
        frame.m_strDescription = strLong;
        SetFrameBytes(frame, stored);
        CTestPictureDialog dialog;
        CMessageBoxes boxes;
        const BOOL bOk = Run(dialog, frame,
                             [&]
                             {
                                 QCOMPARE(Child<CPicturePreview>(dialog, "1014")->GetText(),
                                          QStringLiteral("Please select a picture"));
                                 QVERIFY(Child<QLabel>(dialog, "1015")->text().isEmpty());
                                 QVERIFY(!Button(dialog, "1017")->isEnabled());
                                 QCOMPARE(Child<QComboBox>(dialog, "1012")->currentIndex(), -1);
                                 Click(Child<QPushButton>(dialog, "1"));
                             });
        QVERIFY(bOk);
        QCOMPARE(boxes.m_arrTexts, QStringList(LoadFailed));
        QCOMPARE(boxes.m_arrIcons, QList<QMessageBox::Icon>{QMessageBox::Critical});
        QCOMPARE(FrameBytes(frame), stored);
        QCOMPARE(ToQString(frame.m_strMimeType), QStringLiteral("image/webp"));
        QCOMPARE(frame.m_nPictureType, 25);
        QCOMPARE(ToQString(frame.m_strDescription), ToQString(strLong));
    }

    void failedSelectKeepsCurrentPicture()
    {
        const QString strStored = WriteImage("stored.png", 30, 20, "PNG");
        const QString strText = PathOf("notes.png");
        QFile text(strText);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("just words");
        text.close();
        CPictureFrame frame;
        frame.m_strMimeType = CString(u"image/png");
        SetFrameBytes(frame, ReadBytes(strStored));
        CTestPictureDialog dialog;
        CMessageBoxes boxes;
        const BOOL bOk =
            Run(dialog, frame,
                [&]
                {
                    dialog.m_strOpenPath = strText;
                    Click(Button(dialog, "1016"));
                    dialog.m_strOpenPath = PathOf("gone.png");
                    Click(Button(dialog, "1016"));
                    QCOMPARE(Child<QLabel>(dialog, "1015")->text(), QStringLiteral("30x20 (px)"));
                    Click(Child<QPushButton>(dialog, "1"));
                });
        QVERIFY(bOk);
        QCOMPARE(boxes.m_arrTexts,
                 QStringList({LoadFailed, QStringLiteral("Load image failed.\n'%1'")
                                              .arg(QString::fromUtf8(::strerror(ENOENT)))}));
        QCOMPARE(boxes.m_arrIcons,
                 QList<QMessageBox::Icon>({QMessageBox::Critical, QMessageBox::Warning}));
        QCOMPARE(FrameBytes(frame), ReadBytes(strStored));
        QCOMPARE(ToQString(frame.m_strMimeType), QStringLiteral("image/png"));
    }

    void cancelLeavesFrameUnchanged()
    {
        const QByteArray stored = ReadBytes(WriteImage("stored.png", 30, 20, "PNG"));
        CPictureFrame frame;
        frame.m_strMimeType = CString(u"image/png");
        frame.m_nPictureType = 0;
        frame.m_strDescription = CString(u"Old");
        SetFrameBytes(frame, stored);
        CTestPictureDialog dialog;
        dialog.m_strOpenPath = WriteImage("other.jpg", 60, 60, "JPEG");
        const BOOL bOk =
            Run(dialog, frame,
                [&]
                {
                    Click(Button(dialog, "1016"));
                    QCOMPARE(Child<QLabel>(dialog, "1015")->text(), QStringLiteral("60x60 (px)"));
                    QTest::keyClicks(Child<QLineEdit>(dialog, "1013"), QStringLiteral(" new"));
                    QTest::keyClick(Child<QComboBox>(dialog, "1012"), Qt::Key_Down);
                    QTest::keyClick(&dialog, Qt::Key_Escape);
                    QVERIFY(!dialog.isVisible());
                });
        QVERIFY(!bOk);
        QCOMPARE(FrameBytes(frame), stored);
        QCOMPARE(ToQString(frame.m_strMimeType), QStringLiteral("image/png"));
        QCOMPARE(frame.m_nPictureType, 0);
        QCOMPARE(ToQString(frame.m_strDescription), QStringLiteral("Old"));
    }
};

QTEST_MAIN(PictureFrameDialogTest)
#include "PictureFrameDialogTest.moc"
