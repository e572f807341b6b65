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
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

#include <filesystem>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <utility>

using Tags::ID3v2Tag::CPictureFrame;

namespace
{

const QByteArray PngSignature("\x89PNG\r\n\x1a\n");
const QString LoadFailed =
    QStringLiteral("Load image failed.\nThe image maybe damaged or be in unsupported format.");

// Answers the file dialogs as the user would, with the path and the format's entry set
// beforehand, keeps the filters they offered, and reaches the controls by their ids.
class CTestPictureDialog : public CPictureFrameDialog
{
public:
    // Edits the frame with fn acting once the dialog shows; a dialog fn left open is cancelled.
    BOOL Run(CPictureFrame& frame, std::function<void()> fn)
    {
        m_fn = std::move(fn);
        return EditFrame(&frame);
    }

    template <class T = QWidget> T* Control(const char* szID) const
    {
        return findChild<T*>(QLatin1String(szID));
    }
    QString SizeText() const { return Control<QLabel>("1015")->text(); }
    QString PreviewText() const { return Control<CPicturePreview>("1014")->GetText(); }
    bool IsEnabled(const char* szID) const { return Control(szID)->isEnabled(); }
    void Click(const char* szID) const { QTest::mouseClick(Control(szID), Qt::LeftButton); }

    QString m_strOpenPath;
    QString m_strSavePath;
    QString m_strSaveFormat = QStringLiteral("PNG"); // the entry chosen, by its first word
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
        nFilter = static_cast<int>(
            filter.arrFilters.indexOf(QRegularExpression(m_strSaveFormat + QStringLiteral(" .*"))));
        return m_strSavePath;
    }

    void showEvent(QShowEvent* pEvent) override
    {
        CPictureFrameDialog::showEvent(pEvent);
        if (!m_fn)
            return;
        const auto Act = [this]
        {
            std::exchange(m_fn, nullptr)();
            if (isVisible())
                reject();
        };
        QMetaObject::invokeMethod(this, Act, Qt::QueuedConnection);
    }

private:
    std::function<void()> m_fn;
};

// Records every message box and closes it as soon as it shows.
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

// A frame of a picture (bytes of an image file) and its MIME type.
void SetPicture(CPictureFrame& frame, const QByteArray& bytes, const char16_t* pszMime = u"")
{
    frame.SetData(reinterpret_cast<const BYTE*>(bytes.constData()),
                  static_cast<UINT>(bytes.size()));
    frame.m_strMimeType = CString(pszMime);
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

    QString PathOf(const std::string& strName) const
    {
        return QString::fromStdString(m_pDir->PathOf(strName).string());
    }

    // A red image file of the size in the format.
    QString WriteImage(const std::string& strName, int nWidth, int nHeight, const char* szFormat)
    {
        QImage image(nWidth, nHeight, QImage::Format_ARGB32);
        image.fill(Qt::red);
        return image.save(PathOf(strName), szFormat) ? PathOf(strName) : QString();
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
        const auto Check = [&]
        {
            auto* pType = dialog.Control<QComboBox>("1012");
            QCOMPARE(pType->count(), 21);
            QCOMPARE(pType->itemText(0), QStringLiteral("Other"));
            QCOMPARE(pType->itemText(20), QStringLiteral("PublisherLogo"));
            QCOMPARE(pType->currentText(), QStringLiteral("FrontCover"));
            auto* pDescription = dialog.Control<QLineEdit>("1013");
            QVERIFY(pDescription->text().isEmpty());
            QCOMPARE(pDescription->maxLength(), 64);
            QVERIFY(dialog.SizeText().isEmpty());
            QCOMPARE(dialog.PreviewText(), QStringLiteral("Please select a picture"));
            QCOMPARE(dialog.Control("1016")->toolTip(), QStringLiteral("Select Cover"));
            QCOMPARE(dialog.Control("1019")->toolTip(), QStringLiteral("Paste Cover"));
            QVERIFY(dialog.IsEnabled("1016"));
            QVERIFY(!dialog.IsEnabled("1017"));
            QVERIFY(!dialog.IsEnabled("1018"));
            QVERIFY(!dialog.IsEnabled("1019"));
            // Return in the description presses OK.
            QTest::keyClick(pDescription, Qt::Key_Return);
        };
        QVERIFY(dialog.Run(frame, Check));
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
        CPictureFrame frame;
        CTestPictureDialog dialog;
        dialog.m_strOpenPath = WriteImage(name.toStdString(), 64, 48, qPrintable(format));
        const auto Select = [&]
        {
            QTest::keyClicks(dialog.Control("1013"), QStringLiteral("Front"));
            QTest::keyClick(dialog.Control("1012"), Qt::Key_Down);
            dialog.Click("1016");
            const QStringList& arrFilters = dialog.m_openFilter.arrFilters;
            QVERIFY(arrFilters.value(0).startsWith(QStringLiteral("All Formats (")));
            QVERIFY(arrFilters.value(0).contains(QStringLiteral("*.jpg")));
            QVERIFY(arrFilters.contains(QStringLiteral("PNG (*.png)")));
            QCOMPARE(dialog.SizeText(), QStringLiteral("64x48 (px)"));
            QCOMPARE(dialog.Control<QLineEdit>("1013")->text(), QStringLiteral("Front"));
            QVERIFY(dialog.IsEnabled("1017"));
            QVERIFY(dialog.IsEnabled("1018"));
            dialog.Click("1");
        };
        QVERIFY(dialog.Run(frame, Select));
        QCOMPARE(ToQString(frame.m_strMimeType), mime);
        QCOMPARE(FrameBytes(frame), ReadBytes(dialog.m_strOpenPath));
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
        SetPicture(frame, ReadBytes(WriteImage("picture.png", width, height, "PNG")));
        CTestPictureDialog dialog;
        const auto Check = [&]
        {
            QCOMPARE(dialog.SizeText(), size);
            auto* pPreview = dialog.Control<CPicturePreview>("1014");
            QCOMPARE(pPreview->size(), QSize(202, 182));
            QVERIFY(pPreview->GetText().isEmpty());
            QCOMPARE(FindRed(pPreview->grab().toImage()), preview);
        };
        dialog.Run(frame, Check);
    }

    void extractSavesInChosenFormat()
    {
        CPictureFrame frame;
        SetPicture(frame, ReadBytes(WriteImage("stored.jpg", 30, 20, "JPEG")), u"image/jpeg");
        CTestPictureDialog dialog;
        CMessageBoxes boxes;
        const auto Extract = [&]
        {
            dialog.m_strSavePath = PathOf("plain");
            dialog.Click("1017");
            QVERIFY(!dialog.m_saveFilter.arrFilters.value(0).startsWith(QStringLiteral("All")));
            QVERIFY(ReadBytes(PathOf("plain.png")).startsWith(PngSignature));
            QVERIFY(!QFile::exists(PathOf("plain")));
            // A name with an extension keeps it, with the chosen format's data.
            dialog.m_strSavePath = PathOf("named.jpg");
            dialog.Click("1017");
            QVERIFY(ReadBytes(PathOf("named.jpg")).startsWith(PngSignature));
            QVERIFY(!QFile::exists(PathOf("named.jpg.png")));

            dialog.m_strSaveFormat = QStringLiteral("JPEG");
            dialog.m_strSavePath = PathOf("missing/cover.jpg");
            dialog.Click("1017");
        };
        dialog.Run(frame, Extract);
        QCOMPARE(boxes.m_arrTexts, QStringList(QStringLiteral("Enable to save image.\nPath: '%1'")
                                                   .arg(PathOf("missing/cover.jpg"))));
        QCOMPARE(boxes.m_arrIcons, QList<QMessageBox::Icon>{QMessageBox::Critical});
    }

    void copyThenPasteStoresJpeg()
    {
        // The left half transparent: pasted as JPEG, that half is white.
        QImage image(40, 30, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        for (int y = 0; y < 30; ++y)
        {
            for (int x = 20; x < 40; ++x)
                image.setPixelColor(x, y, Qt::blue);
        }
        QVERIFY(image.save(PathOf("half.png"), "PNG"));
        CPictureFrame frame;
        SetPicture(frame, ReadBytes(PathOf("half.png")), u"image/png");
        CTestPictureDialog dialog;
        const auto CopyPaste = [&]
        {
            QVERIFY(!dialog.IsEnabled("1019"));
            dialog.Click("1018");
            QVERIFY(dialog.IsEnabled("1019"));
            QTest::keyClicks(dialog.Control("1013"), QStringLiteral("typed"));
            dialog.Click("1019");
            QCOMPARE(dialog.SizeText(), QStringLiteral("40x30 (px)"));
            dialog.Click("1");
        };
        QVERIFY(dialog.Run(frame, CopyPaste));
        QCOMPARE(ToQString(frame.m_strMimeType), QStringLiteral("image/jpeg"));
        QCOMPARE(ToQString(frame.m_strDescription), QStringLiteral("typed"));
        const QByteArray bytes = FrameBytes(frame);
        QVERIFY(bytes.startsWith("\xFF\xD8\xFF"));
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
        const auto Drop = [&]
        {
            // Over the preview, which leaves the drop to the dialog.
            QWindow* pWindow = dialog.windowHandle();
            QWidget* pPreview = dialog.Control("1014");
            const QPoint at = pPreview->mapTo(&dialog, pPreview->rect().center());
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
            QCOMPARE(dialog.SizeText(), QStringLiteral("50x40 (px)"));
            dialog.Click("1");
        };
        QVERIFY(dialog.Run(frame, Drop));
        QCOMPARE(ToQString(frame.m_strMimeType), QStringLiteral("image/png"));
        QCOMPARE(FrameBytes(frame), ReadBytes(strPath));
    }

    void undecodableStoredPictureIsKept()
    {
        const QByteArray stored("not a picture at all");
        const QString strLong(70, QLatin1Char('d'));
        CPictureFrame frame;
        SetPicture(frame, stored, u"image/webp");
        frame.m_nPictureType = 25;
        frame.m_strDescription = ToCString(strLong);
        CTestPictureDialog dialog;
        CMessageBoxes boxes;
        const auto Check = [&]
        {
            QCOMPARE(dialog.PreviewText(), QStringLiteral("Please select a picture"));
            QVERIFY(dialog.SizeText().isEmpty());
            QVERIFY(!dialog.IsEnabled("1017"));
            QCOMPARE(dialog.Control<QComboBox>("1012")->currentIndex(), -1);
            dialog.Click("1");
        };
        QVERIFY(dialog.Run(frame, Check));
        QCOMPARE(boxes.m_arrTexts, QStringList(LoadFailed));
        QCOMPARE(boxes.m_arrIcons, QList<QMessageBox::Icon>{QMessageBox::Critical});
        QCOMPARE(FrameBytes(frame), stored);
        QCOMPARE(ToQString(frame.m_strMimeType), QStringLiteral("image/webp"));
        QCOMPARE(frame.m_nPictureType, 25);
        // Longer than can be typed, yet not cut.
        QCOMPARE(ToQString(frame.m_strDescription), strLong);
    }

    void failedSelectKeepsCurrentPicture()
    {
        const QByteArray stored = ReadBytes(WriteImage("stored.png", 30, 20, "PNG"));
        QFile text(PathOf("notes.png"));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("just words") > 0);
        text.close();
        CPictureFrame frame;
        SetPicture(frame, stored, u"image/png");
        CTestPictureDialog dialog;
        CMessageBoxes boxes;
        const auto Select = [&]
        {
            dialog.m_strOpenPath = PathOf("notes.png");
            dialog.Click("1016");
            dialog.m_strOpenPath = PathOf("gone.png");
            dialog.Click("1016");
            QCOMPARE(dialog.SizeText(), QStringLiteral("30x20 (px)"));
            dialog.Click("1");
        };
        QVERIFY(dialog.Run(frame, Select));
        const QString strMissing =
            QStringLiteral("Load image failed.\n'%1'").arg(QString::fromUtf8(::strerror(ENOENT)));
        QCOMPARE(boxes.m_arrTexts, QStringList({LoadFailed, strMissing}));
        QCOMPARE(boxes.m_arrIcons,
                 QList<QMessageBox::Icon>({QMessageBox::Critical, QMessageBox::Warning}));
        QCOMPARE(FrameBytes(frame), stored);
        QCOMPARE(ToQString(frame.m_strMimeType), QStringLiteral("image/png"));
    }

    void cancelLeavesFrameUnchanged()
    {
        const QByteArray stored = ReadBytes(WriteImage("stored.png", 30, 20, "PNG"));
        CPictureFrame frame;
        SetPicture(frame, stored, u"image/png");
        frame.m_nPictureType = 0;
        frame.m_strDescription = CString(u"Old");
        CTestPictureDialog dialog;
        dialog.m_strOpenPath = WriteImage("other.jpg", 60, 60, "JPEG");
        const auto ChangeAndCancel = [&]
        {
            dialog.Click("1016");
            QCOMPARE(dialog.SizeText(), QStringLiteral("60x60 (px)"));
            QTest::keyClicks(dialog.Control("1013"), QStringLiteral(" new"));
            QTest::keyClick(dialog.Control("1012"), Qt::Key_Down);
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QVERIFY(!dialog.isVisible());
        };
        QVERIFY(!dialog.Run(frame, ChangeAndCancel));
        QCOMPARE(FrameBytes(frame), stored);
        QCOMPARE(ToQString(frame.m_strMimeType), QStringLiteral("image/png"));
        QCOMPARE(frame.m_nPictureType, 0);
        QCOMPARE(ToQString(frame.m_strDescription), QStringLiteral("Old"));
    }
};

QTEST_MAIN(PictureFrameDialogTest)
#include "PictureFrameDialogTest.moc"
