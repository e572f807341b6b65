#include "app/ui/TermSignal.h"

#include <QSocketNotifier>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
// The write end for the signal handler, which can reach nothing else.
std::atomic<int> g_nSignalFd{-1};
} // namespace

CTermSignal::CTermSignal(std::function<void()> onSignal, QObject* pParent)
    : QObject(pParent), m_onSignal(std::move(onSignal))
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, m_fds) != 0)
        return;
    g_nSignalFd = m_fds[0];
    m_pNotifier = std::make_unique<QSocketNotifier>(m_fds[1], QSocketNotifier::Read);
    connect(m_pNotifier.get(), &QSocketNotifier::activated, this,
            [this]
            {
                char buffer[16];
                while (::read(m_fds[1], buffer, sizeof(buffer)) > 0)
                {
                }
                if (m_onSignal)
                    m_onSignal();
            });
    struct sigaction action = {};
    action.sa_handler = &CTermSignal::Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

CTermSignal::~CTermSignal()
{
    ::signal(SIGTERM, SIG_DFL);
    ::signal(SIGINT, SIG_DFL);
    g_nSignalFd = -1;
    m_pNotifier.reset();
    for (int fd : m_fds)
        if (fd >= 0)
            ::close(fd);
}

void CTermSignal::Handler(int /*nSignal*/)
{
    const int fd = g_nSignalFd;
    if (fd >= 0)
    {
        const char ch = 1;
        [[maybe_unused]] const ssize_t n = ::write(fd, &ch, 1);
    }
}
