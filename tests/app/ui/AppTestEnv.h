// What the shell's tests share: a private settings and runtime folder per test (set in the
// environment, as the program reads them), and MP3 files made by the fixtures.
#pragma once

#include "base/String.h"
#include "fixtures/TempDir.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <string>

class CAppTestEnv
{
public:
    // Points XDG_CONFIG_HOME, XDG_RUNTIME_DIR and XDG_DATA_HOME at fresh folders of their own.
    CAppTestEnv();
    ~CAppTestEnv();
    CAppTestEnv(const CAppTestEnv&) = delete;
    CAppTestEnv& operator=(const CAppTestEnv&) = delete;

    QString ConfigHome() const;
    QString RuntimeDir() const;
    // XDG_DATA_HOME, where the desktop integration goes.
    QString DataHome() const;
    // The program's settings file under ConfigHome.
    QString SettingsFile() const;
    // A folder for the test's own files.
    QString DataDir() const;

    // Writes a small valid MP3 file (with an ID3v1 title) into DataDir; returns its path.
    QString MakeMp3(const QString& strRelativePath) const;
    // nCount files "track000.mp3"... in a folder under DataDir; returns the folder.
    QString MakeFolder(const QString& strName, int nCount) const;

private:
    std::unique_ptr<Fixtures::CTempDir> m_pDir;
    QByteArray m_oldConfig;
    QByteArray m_oldRuntime;
    QByteArray m_oldData;
};

// A command line as the application takes it.
CStringArray Args(const QStringList& args);
