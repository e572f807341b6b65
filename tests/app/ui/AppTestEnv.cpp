#include "AppTestEnv.h"

#include "fixtures/Mp3Builder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

CAppTestEnv::CAppTestEnv()
    : m_pDir(std::make_unique<Fixtures::CTempDir>()), m_oldConfig(qgetenv("XDG_CONFIG_HOME")),
      m_oldRuntime(qgetenv("XDG_RUNTIME_DIR")), m_oldData(qgetenv("XDG_DATA_HOME"))
{
    QDir().mkpath(ConfigHome());
    QDir().mkpath(RuntimeDir());
    QDir().mkpath(DataDir());
    QDir().mkpath(DataHome());
    ::chmod(QFile::encodeName(RuntimeDir()).constData(), 0700);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(ConfigHome()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(RuntimeDir()));
    // A registration run writes the desktop integration there.
    qputenv("XDG_DATA_HOME", QFile::encodeName(DataHome()));
}

CAppTestEnv::~CAppTestEnv()
{
    qputenv("XDG_CONFIG_HOME", m_oldConfig);
    qputenv("XDG_RUNTIME_DIR", m_oldRuntime);
    if (m_oldData.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", m_oldData);
}

QString CAppTestEnv::ConfigHome() const
{
    return QString::fromStdString(m_pDir->GetPath().string()) + QStringLiteral("/config");
}

QString CAppTestEnv::RuntimeDir() const
{
    return QString::fromStdString(m_pDir->GetPath().string()) + QStringLiteral("/runtime");
}

QString CAppTestEnv::SettingsFile() const
{
    return ConfigHome() + QStringLiteral("/Corvell/Tagwright/2.5.conf");
}

QString CAppTestEnv::DataHome() const
{
    return QString::fromStdString(m_pDir->GetPath().string()) + QStringLiteral("/share");
}

QString CAppTestEnv::DataDir() const
{
    return QString::fromStdString(m_pDir->GetPath().string()) + QStringLiteral("/data");
}

QString CAppTestEnv::MakeMp3(const QString& strRelativePath) const
{
    const QString strPath = DataDir() + QLatin1Char('/') + strRelativePath;
    QDir().mkpath(QFileInfo(strPath).absolutePath());
    Fixtures::CMp3Builder builder;
    builder.AddFrames(Fixtures::CMp3Builder::FrameSpec(), 4);
    Fixtures::CMp3Builder::Id3v1Fields fields;
    fields.m_strTitle = QFileInfo(strPath).completeBaseName().toStdString();
    builder.AddId3v1(fields);
    builder.WriteTo(std::filesystem::path(strPath.toStdString()));
    return strPath;
}

QString CAppTestEnv::MakeFolder(const QString& strName, int nCount) const
{
    for (int i = 0; i < nCount; ++i)
        MakeMp3(strName + QStringLiteral("/track%1.mp3").arg(i, 3, 10, QLatin1Char('0')));
    return DataDir() + QLatin1Char('/') + strName;
}

CStringArray Args(const QStringList& args)
{
    CStringArray result;
    for (const QString& strArg : args)
        result.push_back(
            CString(reinterpret_cast<const char16_t*>(strArg.utf16()), int(strArg.size())));
    return result;
}
