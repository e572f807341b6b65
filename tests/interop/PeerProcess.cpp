#include "interop/PeerProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace Interop
{

namespace
{

std::string NameOf(const std::string& entry)
{
    return entry.substr(0, entry.find('='));
}

// The test's environment with the overrides applied.
std::vector<std::string> MergeEnvironment(const std::vector<std::string>& env)
{
    std::vector<std::string> merged;
    for (char** p = environ; p && *p; ++p)
    {
        const std::string entry = *p;
        bool bReplaced = false;
        for (const std::string& override : env)
            bReplaced = bReplaced || NameOf(override) == NameOf(entry);
        if (!bReplaced)
            merged.push_back(entry);
    }
    for (const std::string& override : env)
    {
        if (override.find('=') != std::string::npos)
            merged.push_back(override);
    }
    return merged;
}

std::vector<char*> PointersTo(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

tagPROCESSRESULT RunProcess(const std::vector<std::string>& args,
                            const std::vector<std::string>& env, int nTimeoutSeconds)
{
    tagPROCESSRESULT result;
    if (args.empty())
        return result;

    // Everything the child needs is prepared before it starts.
    std::vector<std::string> argStrings = args;
    std::vector<std::string> envStrings = MergeEnvironment(env);
    std::vector<char*> argv = PointersTo(argStrings);
    std::vector<char*> envp = PointersTo(envStrings);

    int outPipe[2] = {-1, -1};
    int errPipe[2] = {-1, -1};
    if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0)
    {
        result.strErr = std::string("pipe: ") + std::strerror(errno);
        return result;
    }

    // posix_spawn rather than fork: copying the page tables of a sanitizer build's huge address
    // space would cost more than running most peers.
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    pid_t pid = -1;
    const int nError = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    ::posix_spawn_file_actions_destroy(&actions);
    if (nError != 0)
    {
        result.strErr = "cannot run " + args[0] + ": " + std::strerror(nError);
        for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]})
            ::close(fd);
        return result;
    }

    ::close(outPipe[1]);
    ::close(errPipe[1]);
    int fds[2] = {outPipe[0], errPipe[0]};
    std::string* targets[2] = {&result.strOut, &result.strErr};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(nTimeoutSeconds);
    while (fds[0] >= 0 || fds[1] >= 0)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
        {
            result.bTimedOut = true;
            ::kill(pid, SIGKILL);
            break;
        }
        pollfd polls[2];
        nfds_t nCount = 0;
        int indexes[2] = {0, 0};
        for (int i = 0; i < 2; ++i)
        {
            if (fds[i] >= 0)
            {
                polls[nCount] = {fds[i], POLLIN, 0};
                indexes[nCount++] = i;
            }
        }
        const int nReady = ::poll(polls, nCount, static_cast<int>(left.count()));
        if (nReady < 0 && errno != EINTR)
            break;
        for (nfds_t k = 0; nReady > 0 && k < nCount; ++k)
        {
            if (polls[k].revents == 0)
                continue;
            const int i = indexes[k];
            char buffer[65536];
            const ssize_t nRead = ::read(fds[i], buffer, sizeof(buffer));
            if (nRead > 0)
                targets[i]->append(buffer, static_cast<size_t>(nRead));
            else if (nRead == 0 || errno != EINTR)
                CloseFd(fds[i]);
        }
    }
    CloseFd(fds[0]);
    CloseFd(fds[1]);

    int nStatus = 0;
    while (::waitpid(pid, &nStatus, 0) < 0 && errno == EINTR)
    {
    }
    if (WIFEXITED(nStatus))
        result.nExitCode = WEXITSTATUS(nStatus);
    else if (WIFSIGNALED(nStatus))
        result.nSignal = WTERMSIG(nStatus);
    return result;
}

std::string Describe(const std::vector<std::string>& args, const tagPROCESSRESULT& result)
{
    std::string text = "command:";
    for (const std::string& arg : args)
        text += " '" + arg + "'";
    text += "\nexit code: " + std::to_string(result.nExitCode);
    if (result.nSignal != 0)
        text += ", signal " + std::to_string(result.nSignal);
    if (result.bTimedOut)
        text += ", timed out";
    text += "\nstdout:\n" + result.strOut.substr(0, 4000);
    text += "\nstderr:\n" + result.strErr.substr(0, 4000);
    return text;
}

std::vector<std::string> PeerEnvironment(const std::filesystem::path& home)
{
    std::filesystem::create_directories(home / ".config");
    return {"HOME=" + home.string(),
            "XDG_CONFIG_HOME=" + (home / ".config").string(),
            "LC_ALL=C.UTF-8",
            "LANG=C.UTF-8",
            "PYTHONIOENCODING=utf-8",
            "QT_QPA_PLATFORM=offscreen",
            "PYTHONHOME",
            "PYTHONPATH"};
}

} // namespace Interop
