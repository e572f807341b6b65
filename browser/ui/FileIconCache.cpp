#include "browser/ui/FileIconCache.h"

#include "base/Path.h"
#include "browser/ui/BrowserImages.h"
#include "browser/ui/QtString.h"

CFileIconCache::CFileIconCache() : m_iconFallback(BrowserImages::CreateAudioFileIcon()) {}

int CFileIconCache::GetFileImage(const CString& strPath)
{
    const int nName = strPath.ReverseFind(Path::chSeparator) + 1;
    const int nDot = strPath.ReverseFind(u'.');
    const QString strExtension =
        nDot >= nName ? ToQString(strPath.Mid(nDot + 1)).toLower() : QString();
    const auto it = m_iconByExtension.constFind(strExtension);
    if (it != m_iconByExtension.constEnd())
        return it.value();
    const QMimeType mime =
        m_mimeDatabase.mimeTypeForFile(ToQString(strPath), QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(mime.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(mime.genericIconName());
    if (icon.isNull())
        icon = m_iconFallback;
    m_arrIcons.push_back(icon);
    const int nImage = static_cast<int>(m_arrIcons.size()) - 1;
    m_iconByExtension.insert(strExtension, nImage);
    return nImage;
}
