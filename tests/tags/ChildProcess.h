// Running a piece of a test in a child process: for saves under limits that must not reach the
// test itself (file size, address space, another user), and for saves that are killed midway.
#pragma once

#ifndef _WIN32

#include "base/Types.h"

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ChildProcess
{

// The exit code of a child that could not set up what the test needs; the test then skips.
inline constexpr int CANNOT_PREPARE = 77;

// Runs fn in a child and returns its result as the exit code; 128 + the signal when it died of
// one; 98 when it threw.
template <typename F> int Run(F fn)
{
    const pid_t pid = ::fork();
    if (pid == 0)
    {
        ::alarm(120); // a hang fails the test instead of stalling the run
        int rc = 99;
        try
        {
            rc = fn();
        }
        catch (...)
        {
            rc = 98;
        }
        ::_exit(rc);
    }
    if (pid < 0)
        return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
    {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// In a child: writes beyond nBytes fail with EFBIG instead of killing the process.
inline bool LimitFileSize(rlim_t nBytes)
{
    ::signal(SIGXFSZ, SIG_IGN);
    const struct rlimit limit = {nBytes, nBytes};
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

// In a child: no more than nBytes of address space, so an allocation beyond it fails.
inline bool LimitAddressSpace(rlim_t nBytes)
{
    const struct rlimit limit = {nBytes, nBytes};
    return ::setrlimit(RLIMIT_AS, &limit) == 0;
}

// In a child running as root: become the unprivileged "nobody", for whom permissions count.
inline bool DropRoot()
{
    constexpr uid_t nNobody = 65534;
    return ::setgroups(0, nullptr) == 0 && ::setgid(nNobody) == 0 && ::setuid(nNobody) == 0 &&
           ::geteuid() == nNobody;
}

} // namespace ChildProcess

#endif // _WIN32
