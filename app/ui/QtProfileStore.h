// The program's profile: QSettings at the per-user location of the program ("Corvell",
// "Tagwright", version "2.5"): the INI file $XDG_CONFIG_HOME/Corvell/Tagwright/2.5.conf on Linux,
// the registry key Software\Corvell\Tagwright\2.5 on Windows. Sections are groups, values keep
// their names; byte arrays keep their exact bytes.
#pragma once

#include "base/ProfileStore.h"

#include <QString>

#include <memory>

class QSettings;

class CQtProfileStore : public IProfileStore
{
public:
    // The program's own location (the XDG configuration folder is looked up now, so a changed
    // $XDG_CONFIG_HOME counts).
    CQtProfileStore();
    // An INI file at a given path (tests and tools).
    explicit CQtProfileStore(const QString& strIniPath);
    ~CQtProfileStore() override;
    CQtProfileStore(const CQtProfileStore&) = delete;
    CQtProfileStore& operator=(const CQtProfileStore&) = delete;

    // The INI file behind the program's store on this system (empty on Windows: the registry).
    static QString GetDefaultPath();

    int GetProfileInt(const CString& strSection, const CString& strEntry,
                      int nDefault) const override;
    BOOL WriteProfileInt(const CString& strSection, const CString& strEntry, int nValue) override;
    CString GetProfileString(const CString& strSection, const CString& strEntry,
                             const CString& strDefault = CString()) const override;
    BOOL WriteProfileString(const CString& strSection, const CString& strEntry,
                            const CString& strValue) override;
    BOOL GetProfileBinary(const CString& strSection, const CString& strEntry,
                          std::vector<BYTE>& data) const override;
    BOOL WriteProfileBinary(const CString& strSection, const CString& strEntry, const BYTE* pData,
                            UINT nBytes) override;

    // Writes pending changes (atomically: a new file replaces the old one); FALSE on failure.
    BOOL Flush();

private:
    static QString MakeKey(const CString& strSection, const CString& strEntry);

    std::unique_ptr<QSettings> m_pSettings;
};
