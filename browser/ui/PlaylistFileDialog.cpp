#include "browser/ui/PlaylistFileDialog.h"

#include "browser/ui/QtString.h"

#include <QCheckBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>

namespace
{

// The filters as the program names them; the patterns are given apart, since the display text
// separates them with a comma.
const char kOpenFilter[] = "Playlist Files (*.m3u, *.m3u8)";
const char kSaveFilter[] = "Playlist Files (*.m3u)";

} // namespace

CPlaylistFileDialog::CPlaylistFileDialog(BOOL bOpenFileDialog, QWidget* pParent)
    : QFileDialog(pParent), m_bOpenFileDialog(bOpenFileDialog)
{
    // The dialog's own widgets: the added controls need its layout. Names are kept as spelled,
    // links are not followed.
    setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontResolveSymlinks);
    setSizeGripEnabled(true);
    if (m_bOpenFileDialog)
    {
        setObjectName(QStringLiteral("PlaylistOpenDialog"));
        setAcceptMode(QFileDialog::AcceptOpen);
        // The folder and the file must exist.
        setFileMode(QFileDialog::ExistingFile);
        m_arrPatterns = {QStringLiteral("*.m3u"), QStringLiteral("*.m3u8")};
        setNameFilter(QString::fromLatin1(kOpenFilter));
        AddOpenControls();
    }
    else
    {
        setObjectName(QStringLiteral("PlaylistSaveDialog"));
        // Asks before an existing file is replaced (the dialog's own question).
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
        setDefaultSuffix(QStringLiteral("m3u"));
        m_arrPatterns = {QStringLiteral("*.m3u")};
        setNameFilter(QString::fromLatin1(kSaveFilter));
        AddSaveControls();
    }
    ApplyPatterns();
    connect(this, &QFileDialog::filterSelected, this, &CPlaylistFileDialog::ApplyPatterns);
}

CPlaylistFileDialog::~CPlaylistFileDialog() = default;

void CPlaylistFileDialog::AddOpenControls()
{
    auto* pTemplate = new QWidget(this);
    pTemplate->setObjectName(QStringLiteral("103"));
    auto* pLayout = new QHBoxLayout(pTemplate);
    pLayout->setContentsMargins(0, 0, 0, 0);
    m_pAppend = new QCheckBox(QStringLiteral("Append to the files list"), pTemplate);
    m_pAppend->setObjectName(QStringLiteral("1056"));
    pLayout->addWidget(m_pAppend);
    pLayout->addStretch(1);
    AddBelow(pTemplate);
}

void CPlaylistFileDialog::AddSaveControls()
{
    auto* pTemplate = new QWidget(this);
    pTemplate->setObjectName(QStringLiteral("362"));
    auto* pLayout = new QHBoxLayout(pTemplate);
    pLayout->setContentsMargins(0, 0, 0, 0);
    m_pSelectedFiles = new QRadioButton(QStringLiteral("Selected files"), pTemplate);
    m_pSelectedFiles->setObjectName(QStringLiteral("1058"));
    m_pAllFiles = new QRadioButton(QStringLiteral("All files"), pTemplate);
    m_pAllFiles->setObjectName(QStringLiteral("1059"));
    m_pOptions = new QPushButton(QStringLiteral("Options..."), pTemplate);
    m_pOptions->setObjectName(QStringLiteral("1057"));
    m_pOptions->setAutoDefault(false);
    m_pOptions->setEnabled(false);
    connect(m_pOptions, &QPushButton::clicked, this, &CPlaylistFileDialog::OnOptions);
    pLayout->addWidget(m_pSelectedFiles);
    pLayout->addWidget(m_pAllFiles);
    pLayout->addStretch(1);
    pLayout->addWidget(m_pOptions);
    AddBelow(pTemplate);
}

void CPlaylistFileDialog::AddBelow(QWidget* pWidget)
{
    if (auto* pGrid = qobject_cast<QGridLayout*>(layout()))
    {
        // Under the file name and type fields, as wide as they and the buttons are.
        const int nColumns = pGrid->columnCount();
        const int nFirst = nColumns > 1 ? 1 : 0;
        pGrid->addWidget(pWidget, pGrid->rowCount(), nFirst, 1, nColumns - nFirst);
    }
    else if (layout())
    {
        layout()->addWidget(pWidget);
    }
}

void CPlaylistFileDialog::ApplyPatterns()
{
    // The dialog took the patterns from the display text; "*.m3u," would match nothing.
    if (auto* pModel = findChild<QFileSystemModel*>())
        pModel->setNameFilters(m_arrPatterns);
}

void CPlaylistFileDialog::SetOptionsHandler(std::function<void(QWidget* pParent)> handler)
{
    m_onOptions = std::move(handler);
    if (m_pOptions)
        m_pOptions->setEnabled(static_cast<bool>(m_onOptions));
}

void CPlaylistFileDialog::OnOptions()
{
    if (m_onOptions)
        m_onOptions(this);
}

CString CPlaylistFileDialog::GetPathName() const
{
    if (result() != QDialog::Accepted)
        return CString();
    const QStringList arrFiles = selectedFiles();
    return arrFiles.isEmpty() ? CString() : ToCString(QDir::toNativeSeparators(arrFiles.first()));
}

void CPlaylistFileDialog::showEvent(QShowEvent* pEvent)
{
    if (m_pAppend)
        m_pAppend->setChecked(m_bAppend != FALSE);
    if (m_pAllFiles)
    {
        m_pAllFiles->setChecked(m_bAllFiles != FALSE);
        m_pSelectedFiles->setChecked(m_bAllFiles == FALSE);
    }
    QFileDialog::showEvent(pEvent);
}

void CPlaylistFileDialog::done(int nResult)
{
    // Reached once a file name was confirmed (and, when it exists, replacing it too).
    if (nResult == QDialog::Accepted)
    {
        if (m_pAppend)
            m_bAppend = m_pAppend->isChecked() ? TRUE : FALSE;
        if (m_pAllFiles)
            m_bAllFiles = m_pAllFiles->isChecked() ? TRUE : FALSE;
    }
    QFileDialog::done(nResult);
}
