// One running main instance per user. The main instance listens on a local socket named after
// its window class in the private temporary folder (only the user can reach it); a later start
// connects to it, writes its paths to "fileslist.lst" beside it, sends "FileOpen" (or only asks
// to be brought forward) and waits until the main instance answers that it has handled it.
// Starts take turns through a lock file beside the socket, so that two at once cannot both
// become the main instance, nor write the hand-over list over each other.
#pragma once

#include "base/String.h"

#include <QLocalSocket>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QLocalServer;

class CSingleInstance : public QObject
{
    Q_OBJECT

public:
    // The main window's class name, which names the socket.
    static constexpr char16_t WINDOW_CLASS[] = u"Corvell_Tagwright_WndClass";
    // The message that hands files over.
    static constexpr char FILE_OPEN[] = "FileOpen";
    // The request that only brings the main window forward.
    static constexpr char ACTIVATE[] = "Activate";

    explicit CSingleInstance(QObject* pParent = nullptr);
    ~CSingleInstance() override;

    // The socket's path; empty when there is no private temporary folder or the path would not
    // fit a local socket address.
    static QString GetServerPath();
    // "fileslist.lst" in the private temporary folder; empty when there is none.
    static CString GetHandOverPath();
    // Whether the hand-over file may be read: a plain file of this user (not a link).
    static BOOL IsHandOverFileSafe(const CString& strPath);
    // Writes the paths as a new file only the user can read, replacing any earlier one: a file
    // list (one path a line, names in their bytes on disk) or, when a path holds a line break,
    // each path followed by a NUL. FALSE when it cannot be written.
    static BOOL WriteHandOverFile(const std::vector<CString>& arrPaths);
    // Whether the hand-over file at the path is of the NUL-separated kind; the paths it names
    // (in order) in arrPaths. FALSE for a file list, which is read as one.
    static BOOL ReadNulSeparatedList(const CString& strPath, std::vector<CString>& arrPaths);

    // Waits for the start-up turn, held until EndStartup or the end of this object. Without a
    // private folder (or when the lock cannot be had) the start goes on unguarded.
    void BeginStartup();
    void EndStartup();

    // --- A later start ---

    // TRUE when a main instance answers on the socket (the connection is kept for HandOver).
    // A leftover socket that nobody answers is removed; another user's is never connected to.
    BOOL FindOtherInstance();
    // Sends FILE_OPEN (bFileOpen) or ACTIVATE and waits for the answer. FALSE when the main
    // instance went away first.
    BOOL SendRequest(BOOL bFileOpen);

    // --- The main instance ---

    // Starts listening, in place of a leftover socket or another user's; FALSE when the socket
    // cannot be made (the program then runs alone).
    BOOL Listen();
    // Requests that arrived and wait for an answer; each is answered after the handler ran
    // (bFileOpen tells the request). The caller holds requests back while busy.
    void ProcessPending(const std::function<void(BOOL bFileOpen)>& handler);
    BOOL HasPending() const { return !m_pending.empty(); }

signals:
    // A request arrived (ProcessPending handles it).
    void requestPending();

private:
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* pSocket);

    int m_nLockFile = -1;
    std::unique_ptr<QLocalSocket> m_pClient;
    std::unique_ptr<QLocalServer> m_pServer;
    struct tagREQUEST
    {
        QPointer<QLocalSocket> pSocket;
        BOOL bFileOpen = FALSE;
    };
    std::vector<tagREQUEST> m_pending;
};
