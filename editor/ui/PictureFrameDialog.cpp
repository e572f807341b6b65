#include "editor/ui/PictureFrameDialog.h"

#include "base/File.h"
#include "browser/ui/QtString.h"
#include "editor/PictureRules.h"
#include "editor/ui/PicturePreview.h"
#include "res/StringTable.h"
#include "tags/id3v2/frames/PictureFrame.h"

#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

using Tags::ID3v2Tag::CPictureFrame;

namespace
{

// Typed descriptions stop here; a longer stored one is kept as it is.
constexpr int MAX_DESCRIPTION = 64;
// The preview control's size: a box of 200 x 180 pixels inside its border.
constexpr int PREVIEW_WIDTH = 202;
constexpr int PREVIEW_HEIGHT = 182;

QImage DecodePicture(const QByteArray& bytes, QByteArray* pFormat = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QImage image;
    if (!reader.read(&image))
        return QImage();
    if (pFormat)
        *pFormat = reader.format();
    return image;
}

// The preview of an image fitted into the box; none when the image cannot be scaled.
std::unique_ptr<QImage> MakePreview(const QImage& image, tagPICTURESIZE box)
{
    const tagPICTURESIZE size = GetPreviewSize({image.width(), image.height()}, box);
    if (size.nWidth <= 0 || size.nHeight <= 0)
        return nullptr;
    QImage preview = size.nWidth == image.width() && size.nHeight == image.height()
                         ? image
                         : image.scaled(size.nWidth, size.nHeight, Qt::IgnoreAspectRatio,
                                        Qt::SmoothTransformation);
    if (preview.isNull())
        return nullptr;
    return std::make_unique<QImage>(std::move(preview));
}

// Transparent parts on opaque white, for the clipboard and for JPEG, which hold no
// transparency.
QImage FlattenOnWhite(const QImage& image)
{
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, image);
    painter.end();
    return opaque;
}

// The first local file among the dragged items; empty when there is none.
QString GetDroppedFile(const QMimeData* pData)
{
    if (!pData || !pData->hasUrls())
        return QString();
    for (const QUrl& url : pData->urls())
    {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return QString();
}

// A sheet of paper at the offset, 9 x 11 pixels, for the copy and paste images.
void DrawSheet(QPainter& painter, int nLeft, int nTop)
{
    painter.setPen(QColor(90, 90, 90));
    painter.setBrush(Qt::white);
    painter.drawRect(nLeft, nTop, 8, 10);
    painter.setPen(QColor(150, 150, 150));
    for (int y = nTop + 3; y < nTop + 9; y += 2)
        painter.drawLine(nLeft + 2, y, nLeft + 6, y);
}

// The theme's image where the desktop has one, else our own: two sheets for Copy, a sheet on a
// clipboard for Paste.
QIcon CreateClipboardIcon(BOOL bPaste)
{
    const QString strName = bPaste ? QStringLiteral("edit-paste") : QStringLiteral("edit-copy");
    if (QIcon::hasThemeIcon(strName))
        return QIcon::fromTheme(strName);
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    if (bPaste)
    {
        painter.setPen(QColor(110, 80, 40));
        painter.setBrush(QColor(200, 160, 100));
        painter.drawRect(1, 2, 10, 13);
        painter.setBrush(QColor(120, 120, 120));
        painter.drawRect(4, 1, 4, 2);
        DrawSheet(painter, 6, 5);
    }
    else
    {
        DrawSheet(painter, 1, 1);
        DrawSheet(painter, 6, 4);
    }
    painter.end();
    return QIcon(pixmap);
}

BOOL ClipboardHasImage()
{
    const QMimeData* pData = QGuiApplication::clipboard()->mimeData();
    return pData && pData->hasImage() ? TRUE : FALSE;
}

} // namespace

CPictureFrameDialog::CPictureFrameDialog(QWidget* pParent) : CFrameBaseDialog(pParent)
{
    setObjectName(QStringLiteral("328"));
    setAcceptDrops(true);

    auto* pGroup = new QGroupBox(QStringLiteral("Cover"), this);
    m_pType = new QComboBox(pGroup);
    m_pType->setObjectName(QStringLiteral("1012"));
    for (const char16_t* pszName : GetPictureTypeNames())
        m_pType->addItem(ToQString(CString(pszName)));
    auto* pTypeLabel = new QLabel(QStringLiteral("&Type:"), pGroup);
    pTypeLabel->setBuddy(m_pType);

    m_pPreviewBox = new CPicturePreview(pGroup);
    m_pPreviewBox->setObjectName(QStringLiteral("1014"));
    m_pPreviewBox->setFixedSize(PREVIEW_WIDTH, PREVIEW_HEIGHT);

    QStyle* pStyle = style();
    m_pSelect = CreateCoverButton("1016", QStringLiteral("Select Cover"),
                                  pStyle->standardIcon(QStyle::SP_DialogOpenButton));
    m_pExtract = CreateCoverButton("1017", QStringLiteral("Extract Cover"),
                                   pStyle->standardIcon(QStyle::SP_DialogSaveButton));
    m_pCopy = CreateCoverButton("1018", QStringLiteral("Copy Cover"), CreateClipboardIcon(FALSE));
    m_pPaste = CreateCoverButton("1019", QStringLiteral("Paste Cover"), CreateClipboardIcon(TRUE));
    m_pPaste->setEnabled(false);
    connect(m_pSelect, &QToolButton::clicked, this, &CPictureFrameDialog::OnSelectCover);
    connect(m_pExtract, &QToolButton::clicked, this, &CPictureFrameDialog::OnExtractCover);
    connect(m_pCopy, &QToolButton::clicked, this, &CPictureFrameDialog::OnCopyCover);
    connect(m_pPaste, &QToolButton::clicked, this, &CPictureFrameDialog::OnPasteCover);
    auto* pButtonColumn = new QVBoxLayout;
    for (QToolButton* pButton : {m_pSelect, m_pExtract, m_pCopy, m_pPaste})
        pButtonColumn->addWidget(pButton);
    pButtonColumn->addStretch(1);

    m_pSize = new QLabel(pGroup);
    m_pSize->setObjectName(QStringLiteral("1015"));
    m_pSize->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_pDescription = new QLineEdit(pGroup);
    m_pDescription->setObjectName(QStringLiteral("1013"));
    m_pDescription->setMaxLength(MAX_DESCRIPTION);
    auto* pDescriptionLabel = new QLabel(QStringLiteral("&Description:"), pGroup);
    pDescriptionLabel->setBuddy(m_pDescription);

    auto* pGrid = new QGridLayout(pGroup);
    pGrid->addWidget(pTypeLabel, 0, 0);
    pGrid->addWidget(m_pType, 0, 1, 1, 2);
    pGrid->addWidget(m_pPreviewBox, 1, 0, 1, 2, Qt::AlignLeft | Qt::AlignTop);
    pGrid->addLayout(pButtonColumn, 1, 2);
    pGrid->addWidget(new QLabel(QStringLiteral("Dimentions:"), pGroup), 2, 0);
    pGrid->addWidget(m_pSize, 2, 1, 1, 2);
    pGrid->addWidget(pDescriptionLabel, 3, 0);
    pGrid->addWidget(m_pDescription, 3, 1, 1, 2);
    pGrid->setColumnStretch(1, 1);

    auto* pBody = new QVBoxLayout;
    pBody->addWidget(pGroup);
    SetBody(pBody);

    // A picture copied elsewhere makes Paste available at once.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CPictureFrameDialog::UpdateCoverButtons);
}

CPictureFrameDialog::~CPictureFrameDialog() = default;

QToolButton* CPictureFrameDialog::CreateCoverButton(const char* szID, const QString& strTip,
                                                    const QIcon& icon)
{
    auto* pButton = new QToolButton(this);
    pButton->setObjectName(QLatin1String(szID));
    pButton->setIcon(icon);
    pButton->setIconSize(QSize(16, 16));
    pButton->setToolTip(strTip);
    pButton->setAccessibleName(strTip);
    pButton->setFocusPolicy(Qt::StrongFocus);
    return pButton;
}

CPictureFrame* CPictureFrameDialog::GetPictureFrame() const
{
    return dynamic_cast<CPictureFrame*>(m_pFrame);
}

void CPictureFrameDialog::OnInitDialog()
{
    m_pPreview.reset();
    m_hPicture.reset();
    m_strSize.Empty();
    const CPictureFrame* pFrame = GetPictureFrame();
    if (!pFrame)
    {
        ShowValues();
        return;
    }
    m_pType->setCurrentIndex(GetPictureTypeSelection(pFrame->m_nPictureType));
    m_strMime = pFrame->m_strMimeType;
    // A longer stored description is shown whole, so that OK does not cut it.
    m_pDescription->setMaxLength(std::max(MAX_DESCRIPTION, pFrame->m_strDescription.GetLength()));
    m_pDescription->setText(ToQString(pFrame->m_strDescription));
    if (pFrame->GetDataSize() > 0)
    {
        QByteArray bytes(reinterpret_cast<const char*>(pFrame->GetData()),
                         static_cast<qsizetype>(pFrame->GetDataSize()));
        // Bytes that do not decode stay in the frame unless another picture is chosen.
        if (LoadPicture(bytes))
            m_hPicture = std::make_unique<QByteArray>(std::move(bytes));
    }
    ShowValues();
}

void CPictureFrameDialog::OnOK()
{
    if (CPictureFrame* pFrame = GetPictureFrame())
    {
        pFrame->m_strMimeType = m_strMime;
        pFrame->m_nPictureType =
            GetPictureTypeToStore(m_pType->currentIndex(), pFrame->m_nPictureType);
        pFrame->m_strDescription = ToCString(m_pDescription->text());
        if (m_hPicture)
            pFrame->SetData(reinterpret_cast<const BYTE*>(m_hPicture->constData()),
                            static_cast<UINT>(m_hPicture->size()));
    }
    CFrameBaseDialog::OnOK();
}

QString CPictureFrameDialog::GetOpenPath(const tagIMAGEFILTER& filter)
{
    QFileDialog dialog(this, QStringLiteral("Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filter.arrFilters);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

QString CPictureFrameDialog::GetSavePath(const tagIMAGEFILTER& filter, int& nFilter)
{
    QFileDialog dialog(this, QStringLiteral("Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filter.arrFilters);
    // The dialog adds the chosen format's extension itself, so that it asks before replacing a
    // file of that full name.
    const auto SetSuffix = [&dialog, &filter](const QString& strFilter)
    {
        const auto nIndex = static_cast<size_t>(filter.arrFilters.indexOf(strFilter));
        if (nIndex < filter.arrFormats.size())
            dialog.setDefaultSuffix(ToQString(GetDefaultImageExtension(filter.arrFormats[nIndex])));
    };
    connect(&dialog, &QFileDialog::filterSelected, &dialog, SetSuffix);
    SetSuffix(filter.arrFilters.value(0));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    nFilter = static_cast<int>(filter.arrFilters.indexOf(dialog.selectedNameFilter()));
    return dialog.selectedFiles().value(0);
}

void CPictureFrameDialog::OnSelectCover()
{
    const QString strPath = GetOpenPath(BuildImageFilter(IMAGE_DECODERS));
    if (!strPath.isEmpty())
        LoadPictureFile(strPath);
    UpdateCoverButtons();
}

void CPictureFrameDialog::OnExtractCover()
{
    const tagIMAGEFILTER filter = BuildImageFilter(IMAGE_ENCODERS);
    if (!m_hPicture)
    {
        ShowMessage(QMessageBox::Warning, Res::LoadResourceString(Res::IDS_NO_IMAGE));
        return;
    }
    int nFilter = 0;
    const QString strChosen = GetSavePath(filter, nFilter);
    UpdateCoverButtons();
    if (strChosen.isEmpty())
        return;
    if (filter.arrFormats.empty())
    {
        ShowMessage(QMessageBox::Critical,
                    Res::FormatResourceString(Res::IDS_SAVE_IMAGE_FAILED, ToCString(strChosen)));
        return;
    }
    nFilter = std::clamp(nFilter, 0, static_cast<int>(filter.arrFormats.size()) - 1);
    const PICTURE_FORMAT format = filter.arrFormats[static_cast<size_t>(nFilter)];
    const CString strPath = AddDefaultImageExtension(ToCString(strChosen), format);
    // Re-encoded in the chosen format, whatever the stored one.
    const QImage image = DecodePicture(*m_hPicture);
    QImageWriter writer(ToQString(strPath), GetImageFormatName(format));
    if (image.isNull() || !writer.write(image))
        ShowMessage(QMessageBox::Critical,
                    Res::FormatResourceString(Res::IDS_SAVE_IMAGE_FAILED, strPath));
}

void CPictureFrameDialog::OnCopyCover()
{
    if (!m_hPicture)
        return;
    const QImage image = DecodePicture(*m_hPicture);
    if (image.isNull())
        return;
    QGuiApplication::clipboard()->setImage(FlattenOnWhite(image));
}

void CPictureFrameDialog::OnPasteCover()
{
    if (!ClipboardHasImage())
        return;
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull())
        return;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArrayLiteral("jpeg"));
    if (!writer.write(FlattenOnWhite(image)))
        return;
    buffer.close();
    if (LoadPicture(bytes))
        KeepPicture(std::move(bytes), CString(u"image/jpeg"));
}

BOOL CPictureFrameDialog::LoadPicture(const QByteArray& bytes, QByteArray* pFormat)
{
    const QImage image = DecodePicture(bytes, pFormat);
    if (image.isNull())
    {
        ShowMessage(QMessageBox::Critical,
                    CString(u"Load image failed.\nThe image maybe damaged or be in unsupported "
                            u"format."));
        return FALSE;
    }
    m_pPreview = MakePreview(image, m_pPreviewBox->GetPreviewBox());
    m_strSize = FormatPictureSize(image.width(), image.height());
    return TRUE;
}

BOOL CPictureFrameDialog::LoadPictureFile(const QString& strPath)
{
    const CString strFile = ToCString(strPath);
    QByteArray bytes;
    try
    {
        CFile file(strFile, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary);
        bytes.resize(static_cast<qsizetype>(file.GetLength()));
        qsizetype nDone = 0;
        while (nDone < bytes.size())
        {
            const auto nChunk =
                static_cast<UINT>(std::min<qsizetype>(bytes.size() - nDone, 1 << 20));
            const UINT nRead = file.Read(bytes.data() + nDone, nChunk);
            if (nRead == 0)
                break;
            nDone += nRead;
        }
        // A file that shrank meanwhile gives what it still held.
        bytes.truncate(nDone);
    }
    catch (const CFileException& e)
    {
        ShowMessage(QMessageBox::Warning,
                    Res::FormatResourceString(Res::IDS_LOAD_IMAGE_FAILED, e.GetErrorMessage()));
        return FALSE;
    }
    QByteArray format;
    if (!LoadPicture(bytes, &format))
        return FALSE;
    KeepPicture(std::move(bytes),
                GetPictureMimeType(strFile, ToCString(QString::fromLatin1(format))));
    return TRUE;
}

void CPictureFrameDialog::KeepPicture(QByteArray bytes, const CString& strMime)
{
    m_hPicture = std::make_unique<QByteArray>(std::move(bytes));
    m_strMime = strMime;
    ShowValues();
    m_pButtons->button(QDialogButtonBox::Ok)->setEnabled(true);
}

void CPictureFrameDialog::ShowValues()
{
    m_pSize->setText(ToQString(m_strSize));
    m_pPreviewBox->SetPreview(m_pPreview.get(), m_hPicture ? TRUE : FALSE);
    UpdateCoverButtons();
}

void CPictureFrameDialog::UpdateCoverButtons()
{
    const tagCOVERBUTTONS buttons =
        GetCoverButtonStates(m_pPreview ? TRUE : FALSE, ClipboardHasImage());
    m_pExtract->setEnabled(buttons.bExtract);
    m_pCopy->setEnabled(buttons.bCopy);
    m_pPaste->setEnabled(buttons.bPaste);
}

void CPictureFrameDialog::ShowMessage(QMessageBox::Icon icon, const CString& strText)
{
    QMessageBox box(icon, ToQString(Res::LoadResourceString(Res::IDS_APP_TITLE)),
                    ToQString(strText), QMessageBox::Ok, this);
    box.exec();
}

void CPictureFrameDialog::changeEvent(QEvent* pEvent)
{
    CFrameBaseDialog::changeEvent(pEvent);
    // Back from a file dialog, or from another program, the clipboard may hold something else.
    if (pEvent->type() == QEvent::ActivationChange && isActiveWindow())
        UpdateCoverButtons();
}

void CPictureFrameDialog::dragEnterEvent(QDragEnterEvent* pEvent)
{
    if (!GetDroppedFile(pEvent->mimeData()).isEmpty())
        pEvent->acceptProposedAction();
}

void CPictureFrameDialog::dropEvent(QDropEvent* pEvent)
{
    const QString strPath = GetDroppedFile(pEvent->mimeData());
    if (strPath.isEmpty())
        return;
    pEvent->acceptProposedAction();
    // Loaded after the drop has finished, so that a message does not hold up the drag's source.
    QMetaObject::invokeMethod(
        this, [this, strPath] { LoadPictureFile(strPath); }, Qt::QueuedConnection);
}
