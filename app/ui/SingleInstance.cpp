#include "app/ui/SingleInstance.h"

#include "base/Path.h"
#include "browser/TempFolder.h"
#include "browser/ui/QtString.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{

// Whether the socket file at the path is this user's socket; TRUE as well when there is none.
bool IsOwnSocketOrAbsent(const QString& strPath)
{
    struct stat st = {};
    const QByteArray native = QFile::encodeName(strPath);
    if (::lstat(native.constData(), &st) != 0)
        return errno == ENOENT;
    return S_ISSOCK(st.st_mode) && st.st_uid == ::getuid();
}

bool HasLineBreak(const CString& str)
{
    return str.Find(u'\n') >= 0 || str.Find(u'\r') >= 0;
}

// The start-up lock beside the socket.
constexpr char16_t kLockFileName[] = u"Corvell_Tagwright_WndClass.lock";

// Far above any command line a system passes.
constexpr off_t kMaxHandOverSize = 64 * 1024 * 1024;

} // namespace

CSingleInstance::CSingleInstance(QObject* pParent) : QObject(pParent) {}

CSingleInstance::~CSingleInstance()
{
    // Requests still waiting are answered by the disconnection.
    m_pending.clear();
    if (m_pServer)
        m_pServer->close();
    EndStartup();
}

void CSingleInstance::BeginStartup()
{
    if (m_nLockFile >= 0)
        return;
    CString strFolder;
    if (!GetTempFolder(strFolder))
        return;
    const Path::NativePath native = Path::ToNative(strFolder + CString(kLockFileName));
    const int fd = ::open(native.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    struct stat st = {};
    int nResult = -1;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
    {
        // As long as the start before this one takes; a start that dies gives the lock back.
        do
            nResult = ::flock(fd, LOCK_EX);
        while (nResult != 0 && errno == EINTR);
    }
    if (nResult != 0)
    {
        ::close(fd);
        return;
    }
    m_nLockFile = fd;
}

void CSingleInstance::EndStartup()
{
    if (m_nLockFile < 0)
        return;
    ::close(m_nLockFile);
    m_nLockFile = -1;
}

QString CSingleInstance::GetServerPath()
{
    CString strFolder;
    if (!GetTempFolder(strFolder))
        return QString();
    const QString strPath = ToQString(strFolder) + ToQString(CString(WINDOW_CLASS));
    if (QFile::encodeName(strPath).size() >= static_cast<qsizetype>(sizeof(sockaddr_un::sun_path)))
        return QString();
    return strPath;
}

CString CSingleInstance::GetHandOverPath()
{
    CString strFolder;
    if (!GetTempFolder(strFolder))
        return CString();
    return strFolder + CString(u"fileslist.lst");
}

BOOL CSingleInstance::IsHandOverFileSafe(const CString& strPath)
{
    struct stat st = {};
    const Path::NativePath native = Path::ToNative(strPath);
    if (::lstat(native.c_str(), &st) != 0)
        return FALSE;
    return S_ISREG(st.st_mode) && st.st_uid == ::getuid();
}

BOOL CSingleInstance::WriteHandOverFile(const std::vector<CString>& arrPaths)
{
    const CString strPath = GetHandOverPath();
    if (strPath.IsEmpty())
        return FALSE;
    const Path::NativePath native = Path::ToNative(strPath);
    // A new file every time, so that no link or file of someone else is written through.
    if (::unlink(native.c_str()) != 0 && errno != ENOENT)
        return FALSE;
    const int fd =
        ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return FALSE;
    // A line break cannot be told from the end of a line: such a list goes NUL-separated.
    const bool bNulSeparated = std::any_of(arrPaths.begin(), arrPaths.end(), HasLineBreak);
    std::string text;
    for (const CString& strItem : arrPaths)
    {
        // The name's own bytes, so that names that are not UTF-8 arrive as they are on disk.
        text += Path::ToNative(strItem);
        text += bNulSeparated ? '\0' : '\n';
    }
    bool bOk = true;
    size_t nDone = 0;
    while (nDone < text.size())
    {
        const ssize_t n = ::write(fd, text.data() + nDone, text.size() - nDone);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            bOk = false;
            break;
        }
        nDone += static_cast<size_t>(n);
    }
    if (::close(fd) != 0)
        bOk = false;
    return bOk ? TRUE : FALSE;
}

BOOL CSingleInstance::ReadNulSeparatedList(const CString& strPath, std::vector<CString>& arrPaths)
{
    arrPaths.clear();
    const Path::NativePath native = Path::ToNative(strPath);
    const int fd = ::open(native.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return FALSE;
    struct stat st = {};
    std::string text;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxHandOverSize)
    {
        text.resize(static_cast<size_t>(st.st_size));
        size_t nDone = 0;
        while (nDone < text.size())
        {
            const ssize_t n = ::read(fd, text.data() + nDone, text.size() - nDone);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            nDone += static_cast<size_t>(n);
        }
        text.resize(nDone);
    }
    ::close(fd);
    if (text.find('\0') == std::string::npos)
        return FALSE;
    size_t nStart = 0;
    while (nStart < text.size())
    {
        size_t nEnd = text.find('\0', nStart);
        if (nEnd == std::string::npos)
            nEnd = text.size();
        if (nEnd > nStart)
            arrPaths.push_back(
                Path::FromNative(std::string_view(text).substr(nStart, nEnd - nStart)));
        nStart = nEnd + 1;
    }
    return TRUE;
}

BOOL CSingleInstance::FindOtherInstance()
{
    const QString strPath = GetServerPath();
    if (strPath.isEmpty() || !IsOwnSocketOrAbsent(strPath))
        return FALSE;
    auto pSocket = std::make_unique<QLocalSocket>();
    pSocket->connectToServer(strPath);
    if (pSocket->waitForConnected(5000))
    {
        m_pClient = std::move(pSocket);
        return TRUE;
    }
    // Nobody listens: a leftover of an instance that did not end cleanly.
    if (pSocket->error() == QLocalSocket::ConnectionRefusedError)
        QLocalServer::removeServer(strPath);
    return FALSE;
}

BOOL CSingleInstance::SendRequest(BOOL bFileOpen)
{
    if (!m_pClient)
        return FALSE;
    QByteArray request(bFileOpen ? FILE_OPEN : ACTIVATE);
    request += '\n';
    m_pClient->write(request);
    if (!m_pClient->waitForBytesWritten(-1))
        return FALSE;
    // Like a sent window message: wait as long as the main instance takes.
    while (!m_pClient->canReadLine())
    {
        if (!m_pClient->waitForReadyRead(-1))
            break;
    }
    const bool bAnswered = m_pClient->canReadLine();
    m_pClient->disconnectFromServer();
    m_pClient.reset();
    return bAnswered ? TRUE : FALSE;
}

BOOL CSingleInstance::Listen()
{
    const QString strPath = GetServerPath();
    if (strPath.isEmpty())
        return FALSE;
    // Whatever else is in the socket's place in the user's private folder is not a main
    // instance of the user's: it gives way.
    if (!IsOwnSocketOrAbsent(strPath))
        QLocalServer::removeServer(strPath);
    m_pServer = std::make_unique<QLocalServer>();
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_pServer->listen(strPath))
    {
        // A leftover socket: FindOtherInstance found nobody behind it.
        QLocalServer::removeServer(strPath);
        if (!m_pServer->listen(strPath))
        {
            m_pServer.reset();
            return FALSE;
        }
    }
    connect(m_pServer.get(), &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
    return TRUE;
}

void CSingleInstance::OnNewConnection()
{
    while (QLocalSocket* pSocket = m_pServer->nextPendingConnection())
    {
        connect(pSocket, &QLocalSocket::readyRead, this, [this, pSocket] { OnReadyRead(pSocket); });
        connect(pSocket, &QLocalSocket::disconnected, this,
                [this, pSocket]
                {
                    std::erase_if(m_pending, [pSocket](const tagREQUEST& request)
                                  { return request.pSocket == pSocket; });
                    pSocket->deleteLater();
                });
        if (pSocket->canReadLine())
            OnReadyRead(pSocket);
    }
}

void CSingleInstance::OnReadyRead(QLocalSocket* pSocket)
{
    while (pSocket->canReadLine())
    {
        const QByteArray line = pSocket->readLine().trimmed();
        if (line == FILE_OPEN || line == ACTIVATE)
        {
            m_pending.push_back({pSocket, line == FILE_OPEN ? TRUE : FALSE});
            emit requestPending();
        }
    }
    // A peer that sends a long line without an end is not waited for.
    if (pSocket->bytesAvailable() > 256)
        pSocket->abort();
}

void CSingleInstance::ProcessPending(const std::function<void(BOOL bFileOpen)>& handler)
{
    while (!m_pending.empty())
    {
        const tagREQUEST request = m_pending.front();
        m_pending.erase(m_pending.begin());
        handler(request.bFileOpen);
        // The handler may have run a dialog, during which the peer can have gone.
        if (request.pSocket)
        {
            request.pSocket->write("Done\n");
            request.pSocket->flush();
            request.pSocket->disconnectFromServer();
        }
    }
}
