#include "FolderRoots.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <iterator>

namespace
{

// File systems that hold no user files, or stand for a volume not yet mounted.
bool IsPseudoFileSystem(const QString& strType)
{
    static constexpr const char* arrTypes[] = {
        "autofs",          "bpf",         "binfmt_misc", "cgroup",   "cgroup2",  "configfs",
        "debugfs",         "devfs",       "devpts",      "devtmpfs", "efivarfs", "fusectl",
        "hugetlbfs",       "mqueue",      "nsfs",        "proc",     "pstore",   "ramfs",
        "rpc_pipefs",      "securityfs",  "selinuxfs",   "sysfs",    "tracefs",  "usbfs",
        "fuse.gvfsd-fuse", "fuse.portal", "none",        "rootfs"};
    return std::any_of(std::begin(arrTypes), std::end(arrTypes),
                       [&](const char* pszType) { return strType == QLatin1String(pszType); });
}

// The table writes blanks, tabs, newlines and backslashes in names as three octal digits.
QString DecodeMountField(const QString& strField)
{
    QString strResult;
    strResult.reserve(strField.size());
    for (qsizetype i = 0; i < strField.size(); ++i)
    {
        const QChar ch = strField[i];
        if (ch == u'\\' && i + 3 < strField.size())
        {
            const QString strDigits = strField.mid(i + 1, 3);
            const bool bOctal = std::all_of(strDigits.begin(), strDigits.end(),
                                            [](QChar c) { return c >= u'0' && c <= u'7'; });
            if (bOctal)
            {
                strResult += QChar(strDigits.toInt(nullptr, 8));
                i += 3;
                continue;
            }
        }
        strResult += ch;
    }
    return strResult;
}

bool IsVolumeMountPoint(const QString& strPath)
{
    auto isAtOrUnder = [&](const char* pszFolder)
    {
        const QLatin1String folder(pszFolder);
        return strPath == folder || strPath.startsWith(folder + u'/');
    };
    auto isUnder = [&](const char* pszFolder)
    { return strPath.startsWith(QLatin1String(pszFolder) + u'/'); };
    return isAtOrUnder("/media") || isAtOrUnder("/mnt") || isUnder("/run/media");
}

} // namespace

namespace FolderRoots
{

std::vector<QString> ParseMountedVolumes(const QString& strMounts)
{
    std::vector<QString> arrVolumes;
    const QStringList arrLines = strMounts.split(u'\n', Qt::SkipEmptyParts);
    for (const QString& strLine : arrLines)
    {
        const QStringList arrFields = strLine.split(u' ', Qt::SkipEmptyParts);
        if (arrFields.size() < 3)
            continue;
        const QString strPath = QDir::cleanPath(DecodeMountField(arrFields[1]));
        if (!IsVolumeMountPoint(strPath) || IsPseudoFileSystem(arrFields[2]))
            continue;
        if (std::find(arrVolumes.begin(), arrVolumes.end(), strPath) == arrVolumes.end())
            arrVolumes.push_back(strPath);
    }
    return arrVolumes;
}

std::vector<tagFOLDERROOT> GetFolderRoots()
{
    std::vector<tagFOLDERROOT> arrRoots;
    const QString strHome = QDir::cleanPath(QDir::homePath());
    if (strHome != u"/" && QFileInfo(strHome).isDir())
        arrRoots.push_back({tagFOLDERROOT::ROOT_HOME, QStringLiteral("Home"), strHome});
    arrRoots.push_back(
        {tagFOLDERROOT::ROOT_FILE_SYSTEM, QStringLiteral("File System"), QStringLiteral("/")});

    QFile mounts(QStringLiteral("/proc/self/mounts"));
    // The table is a virtual file whose size reads as 0, so it is read to its end.
    if (mounts.open(QIODevice::ReadOnly | QIODevice::Text))
    {
        const QString strMounts = QString::fromUtf8(mounts.readAll());
        for (const QString& strPath : ParseMountedVolumes(strMounts))
        {
            if (!QFileInfo(strPath).isDir())
                continue;
            QString strName = QFileInfo(strPath).fileName();
            if (strName.isEmpty())
                strName = strPath;
            arrRoots.push_back({tagFOLDERROOT::ROOT_VOLUME, strName, strPath});
        }
    }
    return arrRoots;
}

} // namespace FolderRoots
