// The file list's image list: one icon per file type, from the icon theme by the name's
// extension alone (the file is not read for it), made once per type.
#pragma once

#include "base/String.h"

#include <QHash>
#include <QIcon>
#include <QMimeDatabase>

#include <vector>

class CFileIconCache
{
public:
    CFileIconCache();

    // The image index of the file's type.
    int GetFileImage(const CString& strPath);
    const std::vector<QIcon>& GetIcons() const { return m_arrIcons; }

private:
    std::vector<QIcon> m_arrIcons;
    QHash<QString, int> m_iconByExtension;
    QIcon m_iconFallback;
    QMimeDatabase m_mimeDatabase;
};
