#include "browser/ui/FilePropertiesDialog.h"

#include "base/File.h"
#include "base/FileTime.h"
#include "base/Path.h"
#include "browser/FileAssocData.h"
#include "browser/ui/QtString.h"
#include "res/StringTable.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/mpeg/MpegProperties.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cerrno>
#include <cstddef>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace
{

constexpr int PROPERTY_WIDTH = 120;
constexpr int VALUE_WIDTH = 200;

const char16_t* const kGroupHeaders[] = {u"Media", u"Tags", u"MPEG Info", u"File"};

// The text of a value of a fixed list; empty for a value outside it.
template <std::size_t N> CString Lookup(const char16_t* const (&arrTexts)[N], int nValue)
{
    return nValue >= 0 && static_cast<std::size_t>(nValue) < N ? CString(arrTexts[nValue])
                                                               : CString();
}

CString YesNo(BOOL b)
{
    return CString(b ? u"Yes" : u"No");
}

CString VersionText(const Tags::CMpegProperties& properties)
{
    static const char16_t* const arrVersions[] = {u"MPEG1", u"MPEG2", u"MPEG2.5"};
    static const char16_t* const arrLayers[] = {u"", u"Layer I", u"Layer II", u"Layer III"};
    CString strText = Lookup(arrVersions, properties.m_nVersion);
    const CString strLayer = Lookup(arrLayers, properties.m_nLayer);
    // The reserved layer has no name; no blank is left dangling for it.
    if (!strLayer.IsEmpty())
    {
        strText += u' ';
        strText += strLayer;
    }
    return strText;
}

// "R", "H", "A", "S" for the attributes the file at the path has. Linux keeps no archive or
// system flag: read-only means the user may not write the file, hidden a name beginning with ".".
CString AttributeText(const CString& strPath)
{
    CString strText;
#ifdef _WIN32
    const DWORD dwAttributes = ::GetFileAttributesW(Path::ToNative(strPath).c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return strText;
    if (dwAttributes & FILE_ATTRIBUTE_READONLY)
        strText += u'R';
    if (dwAttributes & FILE_ATTRIBUTE_HIDDEN)
        strText += u'H';
    if (dwAttributes & FILE_ATTRIBUTE_ARCHIVE)
        strText += u'A';
    if (dwAttributes & FILE_ATTRIBUTE_SYSTEM)
        strText += u'S';
#else
    // A file that has gone since it was read is not thereby read-only.
    if (::access(Path::ToNative(strPath).c_str(), W_OK) != 0 && errno != ENOENT && errno != ENOTDIR)
        strText += u'R';
    const CString strName = Path::GetName(strPath);
    if (!strName.IsEmpty() && strName[0] == u'.')
        strText += u'H';
#endif
    return strText;
}

} // namespace

CFilePropertiesDialog::CFilePropertiesDialog(QWidget* pParent) : QDialog(pParent)
{
    setObjectName(QStringLiteral("361"));
    m_pList = new QTreeWidget(this);
    m_pList->setObjectName(QStringLiteral("1052"));
    m_pList->setColumnCount(2);
    m_pList->setHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
    m_pList->header()->setSectionsClickable(false);
    m_pList->header()->setSectionsMovable(false);
    m_pList->header()->setStretchLastSection(false);
    m_pList->setColumnWidth(0, PROPERTY_WIDTH);
    m_pList->setColumnWidth(1, VALUE_WIDTH);
    m_pList->setSortingEnabled(false);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setAllColumnsShowFocus(true);
    m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The groups always stay open, as a grouped list view shows them.
    m_pList->setRootIsDecorated(false);
    m_pList->setItemsExpandable(false);
    m_pList->setExpandsOnDoubleClick(false);
    m_pList->setIndentation(0);
    m_pList->setUniformRowHeights(true);
    m_pList->setTextElideMode(Qt::ElideRight);

    QFont groupFont = m_pList->font();
    groupFont.setBold(true);
    for (std::size_t i = 0; i < m_arrGroups.size(); ++i)
    {
        auto* pGroup = new QTreeWidgetItem(m_pList, QStringList(ToQString(kGroupHeaders[i])));
        pGroup->setFlags(Qt::ItemIsEnabled);
        pGroup->setFont(0, groupFont);
        pGroup->setFirstColumnSpanned(true);
        pGroup->setExpanded(true);
        m_arrGroups[i] = pGroup;
    }

    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* pOk = pButtons->button(QDialogButtonBox::Ok);
    pOk->setText(QStringLiteral("OK"));
    pOk->setObjectName(QStringLiteral("1"));
    pOk->setDefault(true);
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_pList);
    pLayout->addWidget(pButtons);
    resize(PROPERTY_WIDTH + VALUE_WIDTH + 60, 440);
}

CFilePropertiesDialog::~CFilePropertiesDialog() = default;

int CFilePropertiesDialog::DoModal()
{
    if (!OnInitDialog())
    {
        setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }
    return exec();
}

void CFilePropertiesDialog::AddPropertyRow(const CString& strName, const CString& strValue,
                                           int nGroup)
{
    if (nGroup < GROUP_MEDIA || nGroup > GROUP_FILE)
        return;
    auto* pRow = new QTreeWidgetItem(m_arrGroups[static_cast<std::size_t>(nGroup - 1)],
                                     QStringList{ToQString(strName), ToQString(strValue)});
    pRow->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    pRow->setToolTip(1, ToQString(strValue));
}

BOOL CFilePropertiesDialog::OnInitDialog()
{
    ClearRows();
    // The container lives only while the rows are filled: the file is not held while the
    // dialog is open.
    {
        Tags::CMpegFile file(m_strPath, TRUE);
        const CString strName = file.GetFileName();
        setWindowTitle(ToQString(strName + u" Properties"));
        if (file.m_hFile == INVALID_HANDLE_VALUE)
        {
            QMessageBox box(
                QMessageBox::Critical, ToQString(Res::LoadResourceString(Res::IDS_APP_TITLE)),
                ToQString(Res::FormatResourceString(Res::IDS_FAILED_READING_FILE, m_strPath)),
                QMessageBox::Ok, parentWidget());
            box.exec();
            return FALSE;
        }

        // Media: the ID3v2 tag when there is one, else the ID3v1 tag.
        const Tags::CAudioProperties* pAudio = file.GetAudioProperties();
        if (pAudio)
            AddPropertyRow(u"Length", CFileAssocData::FormatLength(pAudio->GetLength()),
                           GROUP_MEDIA);
        const Tags::ID3v2Tag::CID3v2* pID3v2 = file.GetID3v2(FALSE);
        const Tags::ID3v1Tag::CID3v1* pID3v1 = file.GetID3v1(FALSE);
        const Tags::CTagBase* pTag = pID3v2;
        if (!pTag)
            pTag = pID3v1;
        if (pTag)
        {
            AddPropertyRow(u"Title", pTag->GetTitle(), GROUP_MEDIA);
            AddPropertyRow(u"Album", pTag->GetAlbum(), GROUP_MEDIA);
            AddPropertyRow(u"Artist", pTag->GetArtist(), GROUP_MEDIA);
            AddPropertyRow(u"Genre", pTag->GetGenre(), GROUP_MEDIA);
            AddPropertyRow(u"Year", pTag->GetYear(), GROUP_MEDIA);
            AddPropertyRow(u"Track", CFileAssocData::FormatTrack(pTag->GetTrack()), GROUP_MEDIA);
            AddPropertyRow(u"Comment", pTag->GetComment(), GROUP_MEDIA);
        }

        AddPropertyRow(u"ID3v1", YesNo(pID3v1 != nullptr), GROUP_TAGS);
        CString strID3v2(u"No");
        if (pID3v2)
            strID3v2.Format(u"Yes (v2.%d)", pID3v2->m_pHeader ? pID3v2->m_pHeader->m_nVersion : 0);
        AddPropertyRow(u"ID3v2", strID3v2, GROUP_TAGS);

        // The header facts mean something only when a valid frame header was found, which
        // always has a sample rate; without one they would describe audio that is not there.
        const auto* pProperties = dynamic_cast<const Tags::CMpegProperties*>(pAudio);
        if (pProperties && pProperties->GetSampleRate() > 0)
        {
            static const char16_t* const arrChannelModes[] = {u"Stereo", u"Joint Stereo",
                                                              u"Dual Channel", u"Single Channel"};
            static const char16_t* const arrEmphases[] = {u"None", u"50/15", u"Reserved",
                                                          u"CCIT J.17"};
            AddPropertyRow(u"Version", VersionText(*pProperties), GROUP_MPEG_INFO);
            AddPropertyRow(u"Bit rate", CFileAssocData::FormatBitrate(pProperties->GetBitrate()),
                           GROUP_MPEG_INFO);
            AddPropertyRow(u"Sample Rate",
                           CFileAssocData::FormatSampleRate(pProperties->GetSampleRate()),
                           GROUP_MPEG_INFO);
            AddPropertyRow(u"Channel Mode", Lookup(arrChannelModes, pProperties->m_nChannelMode),
                           GROUP_MPEG_INFO);
            AddPropertyRow(u"Protected", YesNo(pProperties->m_bProtected), GROUP_MPEG_INFO);
            AddPropertyRow(u"Copyrighted", YesNo(pProperties->m_bCopyrighted), GROUP_MPEG_INFO);
            AddPropertyRow(u"Original", YesNo(pProperties->m_bOriginal), GROUP_MPEG_INFO);
            AddPropertyRow(u"Emphasis", Lookup(arrEmphases, pProperties->m_nEmphasis),
                           GROUP_MPEG_INFO);
        }

        AddPropertyRow(u"Name", strName, GROUP_FILE);
        AddPropertyRow(u"Folder", file.GetFileFolder(), GROUP_FILE);
        CString strSize;
        try
        {
            const auto nSize = static_cast<LONGLONG>(file.GetLength());
            strSize.Format(u"%s (%I64d bytes)", CFileAssocData::FormatFileSize(nSize), nSize);
        }
        catch (const CFileException&)
        {
            // An open file that cannot be measured shows no size rather than a wrong one.
        }
        AddPropertyRow(u"Size", strSize, GROUP_FILE);
        FILETIME ftCreated = {};
        FILETIME ftAccessed = {};
        FILETIME ftWritten = {};
        const BOOL bTimes = ::GetFileTime(file.m_hFile, &ftCreated, &ftAccessed, &ftWritten);
        auto timeText = [bTimes](const FILETIME& ft)
        { return bTimes ? CFileAssocData::FormatFileTime(ft) : CString(); };
        AddPropertyRow(u"Created", timeText(ftCreated), GROUP_FILE);
        AddPropertyRow(u"Modified", timeText(ftWritten), GROUP_FILE);
        AddPropertyRow(u"Accessed", timeText(ftAccessed), GROUP_FILE);
        AddPropertyRow(u"Attributes", AttributeText(file.GetFilePath()), GROUP_FILE);
    }
    ShowGroups();
    return TRUE;
}

void CFilePropertiesDialog::ClearRows()
{
    for (QTreeWidgetItem* pGroup : m_arrGroups)
        qDeleteAll(pGroup->takeChildren());
}

void CFilePropertiesDialog::ShowGroups()
{
    for (QTreeWidgetItem* pGroup : m_arrGroups)
    {
        pGroup->setHidden(pGroup->childCount() == 0);
        pGroup->setExpanded(true);
    }
    m_pList->setCurrentItem(nullptr);
    m_pList->clearSelection();
}
