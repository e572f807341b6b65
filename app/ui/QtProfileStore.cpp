#include "app/ui/QtProfileStore.h"

#include "browser/ui/QtString.h"

#include <QByteArray>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

#include <climits>

CQtProfileStore::CQtProfileStore()
{
#ifdef _WIN32
    m_pSettings =
        std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                    QStringLiteral("Corvell"), QStringLiteral("Tagwright/2.5"));
#else
    // Built from the XDG folder each time rather than through QSettings' own lookup, which is
    // fixed for the life of the process.
    m_pSettings = std::make_unique<QSettings>(GetDefaultPath(), QSettings::IniFormat);
#endif
    m_pSettings->setAtomicSyncRequired(true);
}

CQtProfileStore::CQtProfileStore(const QString& strIniPath)
    : m_pSettings(std::make_unique<QSettings>(strIniPath, QSettings::IniFormat))
{
    m_pSettings->setAtomicSyncRequired(true);
}

CQtProfileStore::~CQtProfileStore()
{
    Flush();
}

QString CQtProfileStore::GetDefaultPath()
{
#ifdef _WIN32
    return QString();
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Corvell/Tagwright/2.5.conf");
#endif
}

QString CQtProfileStore::MakeKey(const CString& strSection, const CString& strEntry)
{
    return ToQString(strSection) + QLatin1Char('/') + ToQString(strEntry);
}

int CQtProfileStore::GetProfileInt(const CString& strSection, const CString& strEntry,
                                   int nDefault) const
{
    const QVariant value = m_pSettings->value(MakeKey(strSection, strEntry));
    if (!value.isValid() || value.typeId() == QMetaType::QByteArray)
        return nDefault;
    // The INI file holds numbers as text; a DWORD above INT_MAX reads as its negative int, as
    // from the registry.
    bool bOk = false;
    const qlonglong nValue = value.toString().trimmed().toLongLong(&bOk);
    if (!bOk || nValue < INT_MIN || nValue > static_cast<qlonglong>(UINT_MAX))
        return nDefault;
    return static_cast<int>(static_cast<unsigned int>(nValue & 0xFFFFFFFF));
}

BOOL CQtProfileStore::WriteProfileInt(const CString& strSection, const CString& strEntry,
                                      int nValue)
{
    m_pSettings->setValue(MakeKey(strSection, strEntry), nValue);
    return m_pSettings->status() == QSettings::NoError;
}

CString CQtProfileStore::GetProfileString(const CString& strSection, const CString& strEntry,
                                          const CString& strDefault) const
{
    const QVariant value = m_pSettings->value(MakeKey(strSection, strEntry));
    if (!value.isValid() || value.typeId() == QMetaType::QByteArray)
        return strDefault;
    // A text holding commas comes back from the INI file as a list.
    if (value.typeId() == QMetaType::QStringList)
        return ToCString(value.toStringList().join(QLatin1Char(',')));
    return ToCString(value.toString());
}

BOOL CQtProfileStore::WriteProfileString(const CString& strSection, const CString& strEntry,
                                         const CString& strValue)
{
    m_pSettings->setValue(MakeKey(strSection, strEntry), ToQString(strValue));
    return m_pSettings->status() == QSettings::NoError;
}

BOOL CQtProfileStore::GetProfileBinary(const CString& strSection, const CString& strEntry,
                                       std::vector<BYTE>& data) const
{
    data.clear();
    const QVariant value = m_pSettings->value(MakeKey(strSection, strEntry));
    if (!value.isValid() || value.typeId() != QMetaType::QByteArray)
        return FALSE;
    const QByteArray bytes = value.toByteArray();
    data.assign(bytes.begin(), bytes.end());
    return TRUE;
}

BOOL CQtProfileStore::WriteProfileBinary(const CString& strSection, const CString& strEntry,
                                         const BYTE* pData, UINT nBytes)
{
    const QByteArray bytes(reinterpret_cast<const char*>(pData), static_cast<qsizetype>(nBytes));
    m_pSettings->setValue(MakeKey(strSection, strEntry), bytes);
    return m_pSettings->status() == QSettings::NoError;
}

BOOL CQtProfileStore::Flush()
{
    m_pSettings->sync();
    return m_pSettings->status() == QSettings::NoError;
}
