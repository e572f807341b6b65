// The three options the folder pane reads and changes, behind an interface so that the pane does
// not depend on the application object that keeps them.
#pragma once

#include "base/String.h"
#include "base/Types.h"

class IFolderPaneSettings
{
public:
    virtual ~IFolderPaneSettings() = default;

    // "UserPath": the default folder.
    virtual CString GetUserPath() const = 0;
    virtual void SetUserPath(const CString& strPath) = 0;
    // "LastPath": the folder last loaded from the tree.
    virtual CString GetLastPath() const = 0;
    virtual void SetLastPath(const CString& strPath) = 0;
    // "ContinueFromLastPath": start in the last folder instead of the default one.
    virtual BOOL GetContinueFromLastPath() const = 0;
    virtual void SetContinueFromLastPath(BOOL bContinue) = 0;
};

// The interface over any object with the members m_strUserPath, m_strLastPath and
// m_bContinueFromLastPath (the application's settings), which it changes in place.
template <class TSettings> class CFolderPaneSettings : public IFolderPaneSettings
{
public:
    explicit CFolderPaneSettings(TSettings& settings) : m_settings(settings) {}

    CString GetUserPath() const override { return m_settings.m_strUserPath; }
    void SetUserPath(const CString& strPath) override { m_settings.m_strUserPath = strPath; }
    CString GetLastPath() const override { return m_settings.m_strLastPath; }
    void SetLastPath(const CString& strPath) override { m_settings.m_strLastPath = strPath; }
    BOOL GetContinueFromLastPath() const override { return m_settings.m_bContinueFromLastPath; }
    void SetContinueFromLastPath(BOOL bContinue) override
    {
        m_settings.m_bContinueFromLastPath = bContinue;
    }

private:
    TSettings& m_settings;
};
