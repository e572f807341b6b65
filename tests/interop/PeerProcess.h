// Runs the independent tag tools the interop tests compare against: a program with its arguments
// passed as they are (no shell), its output captured, and a time limit so that a stuck peer fails
// the test instead of hanging it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace Interop
{

struct tagPROCESSRESULT
{
    int nExitCode = -1; // -1 when the program did not exit normally
    int nSignal = 0;    // the signal that ended it, 0 when none
    bool bTimedOut = false;
    std::string strOut;
    std::string strErr;
};

// Runs args[0] (looked up on PATH) with the other entries as its arguments. Entries of env
// ("NAME=value") are added to, or replace, the test's own environment; an entry without "="
// removes that variable. The program gets an empty
// standard input; one still running after nTimeoutSeconds is killed.
tagPROCESSRESULT RunProcess(const std::vector<std::string>& args,
                            const std::vector<std::string>& env = {}, int nTimeoutSeconds = 60);

// The command and what it reported, for failure messages.
std::string Describe(const std::vector<std::string>& args, const tagPROCESSRESULT& result);

// An environment for peers that keep settings in the user's home: a home of their own inside
// the given folder, so that they neither read nor change the real user's settings, and UTF-8
// for their command lines and output.
std::vector<std::string> PeerEnvironment(const std::filesystem::path& home);

} // namespace Interop
