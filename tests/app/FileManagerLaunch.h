// How the desktop starts the commands of the integration's entries, for the tests: a desktop
// entry's Exec taken apart by the rules of the desktop entry format (as KIO and the launchers
// do) and by GLib's own parser, Nemo's expansion of an action's Exec, and a stand-in program
// that records the arguments it was given. Linux only; GLib is loaded at run time where the
// system has it.
#pragma once

#ifndef _WIN32

#include <cerrno>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace Launch
{

using Args = std::vector<std::string>;

inline std::string ReadText(const std::string& strPath)
{
    std::ifstream file(strPath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The raw value of a key in a group of a key file, as written (escapes not undone).
inline std::optional<std::string> RawValue(const std::string& strText, const std::string& strGroup,
                                           const std::string& strKey)
{
    std::istringstream lines(strText);
    std::string strLine;
    bool bInGroup = false;
    while (std::getline(lines, strLine))
    {
        if (strLine.starts_with('['))
            bInGroup = strLine == "[" + strGroup + "]";
        else if (bInGroup && strLine.starts_with(strKey + "="))
            return strLine.substr(strKey.size() + 1);
    }
    return std::nullopt;
}

// A string value with the key file's escapes undone: \s \n \t \r \\.
inline std::string Unescape(const std::string& strRaw)
{
    std::string strResult;
    for (size_t i = 0; i < strRaw.size(); ++i)
    {
        if (strRaw[i] != '\\' || i + 1 == strRaw.size())
        {
            strResult += strRaw[i];
            continue;
        }
        const char ch = strRaw[++i];
        switch (ch)
        {
        case 's':
            strResult += ' ';
            break;
        case 'n':
            strResult += '\n';
            break;
        case 't':
            strResult += '\t';
            break;
        case 'r':
            strResult += '\r';
            break;
        default:
            strResult += ch;
            break;
        }
    }
    return strResult;
}

// An Exec value (escapes undone) taken apart as the desktop entry format says: arguments parted
// by spaces, double quotes in which a backslash escapes '"', '`', '$' and '\', "%%" for a
// percent sign, and %F outside quotes standing alone for the files as separate arguments.
// Throws on anything the format does not allow.
inline Args ExpandExec(const std::string& strExec, const Args& files)
{
    Args args;
    std::string strWord;
    bool bWord = false;
    size_t i = 0;
    const size_t n = strExec.size();
    while (i < n)
    {
        const char ch = strExec[i];
        if (ch == ' ')
        {
            if (bWord)
                args.push_back(strWord);
            strWord.clear();
            bWord = false;
            ++i;
        }
        else if (ch == '"')
        {
            bWord = true;
            for (++i;; ++i)
            {
                if (i >= n)
                    throw std::runtime_error("unterminated quote");
                const char q = strExec[i];
                if (q == '"')
                    break;
                if (q == '\\')
                {
                    if (i + 1 >= n ||
                        std::string_view("\"`$\\").find(strExec[i + 1]) == std::string_view::npos)
                        throw std::runtime_error("bad escape in quotes");
                    strWord += strExec[++i];
                }
                else if (q == '`' || q == '$')
                    throw std::runtime_error("reserved character not escaped");
                else if (q == '%')
                {
                    if (i + 1 >= n || strExec[i + 1] != '%')
                        throw std::runtime_error("field code inside quotes");
                    strWord += '%';
                    ++i;
                }
                else
                    strWord += q;
            }
            ++i;
        }
        else if (ch == '%')
        {
            if (i + 1 >= n)
                throw std::runtime_error("lone percent sign");
            const char code = strExec[i + 1];
            if (code == '%')
            {
                strWord += '%';
                bWord = true;
            }
            else if (code == 'F')
            {
                if (bWord || (i + 2 < n && strExec[i + 2] != ' '))
                    throw std::runtime_error("%F not standing alone");
                args.insert(args.end(), files.begin(), files.end());
            }
            else
                throw std::runtime_error("unexpected field code");
            i += 2;
        }
        else
        {
            if (std::string_view("\t\n\"'\\><~|&;$*?#()`").find(ch) != std::string_view::npos)
                throw std::runtime_error("reserved character outside quotes");
            strWord += ch;
            bWord = true;
            ++i;
        }
    }
    if (bWord)
        args.push_back(strWord);
    return args;
}

// GLib, where the system has it: its key-file reader, command-line parser, quoting and URIs.
class CGLib
{
public:
    CGLib() : m_pHandle(::dlopen("libglib-2.0.so.0", RTLD_NOW | RTLD_LOCAL))
    {
        if (!m_pHandle)
            return;
        Load(m_pParse, "g_shell_parse_argv");
        Load(m_pQuote, "g_shell_quote");
        Load(m_pToUri, "g_filename_to_uri");
        Load(m_pFree, "g_free");
        Load(m_pFreeV, "g_strfreev");
        Load(m_pKeyFileNew, "g_key_file_new");
        Load(m_pKeyFileLoad, "g_key_file_load_from_file");
        Load(m_pKeyFileGet, "g_key_file_get_string");
        Load(m_pKeyFileFree, "g_key_file_free");
    }
    ~CGLib()
    {
        if (m_pHandle)
            ::dlclose(m_pHandle);
    }
    CGLib(const CGLib&) = delete;
    CGLib& operator=(const CGLib&) = delete;

    bool IsLoaded() const
    {
        return m_pParse && m_pQuote && m_pToUri && m_pFree && m_pFreeV && m_pKeyFileNew &&
               m_pKeyFileLoad && m_pKeyFileGet && m_pKeyFileFree;
    }

    // g_shell_parse_argv, which Nemo's spawn and GLib's launcher use.
    Args ParseCommandLine(const std::string& strCommand) const
    {
        int nCount = 0;
        char** ppArgs = nullptr;
        if (!m_pParse(strCommand.c_str(), &nCount, &ppArgs, nullptr))
            throw std::runtime_error("GLib cannot parse: " + strCommand);
        Args args(ppArgs, ppArgs + nCount);
        m_pFreeV(ppArgs);
        return args;
    }
    std::string Quote(const std::string& strText) const { return Take(m_pQuote(strText.c_str())); }
    std::string ToUri(const std::string& strPath) const
    {
        return Take(m_pToUri(strPath.c_str(), nullptr, nullptr));
    }
    // A string value as GLib reads it from the key file (escapes undone, UTF-8 checked).
    std::optional<std::string> GetString(const std::string& strFile, const std::string& strGroup,
                                         const std::string& strKey) const
    {
        void* pKeyFile = m_pKeyFileNew();
        std::optional<std::string> value;
        if (m_pKeyFileLoad(pKeyFile, strFile.c_str(), 0, nullptr))
        {
            if (char* psz = m_pKeyFileGet(pKeyFile, strGroup.c_str(), strKey.c_str(), nullptr))
                value = Take(psz);
        }
        m_pKeyFileFree(pKeyFile);
        return value;
    }

    // A desktop entry's Exec as GLib's launcher expands it: each file of %F shell-quoted, "%%" a
    // percent sign, and then the command line parsed.
    Args ExpandExec(const std::string& strExec, const Args& files) const
    {
        std::string strCommand;
        for (size_t i = 0; i < strExec.size(); ++i)
        {
            if (strExec[i] != '%' || i + 1 == strExec.size())
            {
                strCommand += strExec[i];
                continue;
            }
            const char code = strExec[++i];
            if (code == '%')
                strCommand += '%';
            else if (code == 'F')
            {
                for (size_t f = 0; f < files.size(); ++f)
                    strCommand += (f ? " " : "") + Quote(files[f]);
            }
        }
        return ParseCommandLine(strCommand);
    }

    // A Nemo action's Exec as Nemo runs it for the files: the first "%" must be %U, which gets
    // the files' URIs, each in double quotes (Quote=double) and parted by spaces; Nemo looks for
    // the next field code only after what it put in. Then the command line is parsed.
    Args ExpandNemoExec(const std::string& strExec, const Args& files) const
    {
        std::string strCommand = strExec;
        size_t nFrom = 0;
        for (;;)
        {
            const size_t nPos = strCommand.find('%', nFrom);
            if (nPos == std::string::npos)
                break;
            if (strCommand.compare(nPos, 2, "%U") != 0)
            {
                // Nemo stops at the first "%" that is no field code of its own, or expands
                // another one there; either way the command is not what was meant.
                throw std::runtime_error("Nemo would read a field code at: " +
                                         strCommand.substr(nPos, 8));
            }
            std::string strUris;
            for (size_t f = 0; f < files.size(); ++f)
                strUris += (f ? " \"" : "\"") + ToUri(files[f]) + "\"";
            strCommand.replace(nPos, 2, strUris);
            nFrom = nPos + strUris.size();
        }
        return ParseCommandLine(strCommand);
    }

private:
    template <typename T> void Load(T& pFunction, const char* pszName)
    {
        pFunction = reinterpret_cast<T>(::dlsym(m_pHandle, pszName));
    }
    std::string Take(char* psz) const
    {
        if (!psz)
            throw std::runtime_error("GLib returned nothing");
        std::string strResult(psz);
        m_pFree(psz);
        return strResult;
    }

    void* m_pHandle = nullptr;
    int (*m_pParse)(const char*, int*, char***, void**) = nullptr;
    char* (*m_pQuote)(const char*) = nullptr;
    char* (*m_pToUri)(const char*, const char*, void**) = nullptr;
    void (*m_pFree)(void*) = nullptr;
    void (*m_pFreeV)(char**) = nullptr;
    void* (*m_pKeyFileNew)() = nullptr;
    int (*m_pKeyFileLoad)(void*, const char*, int, void**) = nullptr;
    char* (*m_pKeyFileGet)(void*, const char*, const char*, void**) = nullptr;
    void (*m_pKeyFileFree)(void*) = nullptr;
};

// Runs the program argv[0] (a path) with the arguments in strFolder (empty: this process's
// folder), with extra environment entries "NAME=value"; returns its exit status, -1 when it did
// not end normally.
inline int Run(const Args& argv, const std::string& strFolder = std::string(),
               const Args& extraEnv = Args())
{
    std::vector<char*> arrArgs;
    for (const std::string& strArg : argv)
        arrArgs.push_back(const_cast<char*>(strArg.c_str()));
    arrArgs.push_back(nullptr);
    std::vector<char*> arrEnv;
    for (char** pp = environ; *pp; ++pp)
        arrEnv.push_back(*pp);
    for (const std::string& strEntry : extraEnv)
        arrEnv.push_back(const_cast<char*>(strEntry.c_str()));
    arrEnv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0)
    {
        if (!strFolder.empty() && ::chdir(strFolder.c_str()) != 0)
            ::_exit(126);
        ::execve(arrArgs[0], arrArgs.data(), arrEnv.data());
        ::_exit(127);
    }
    int nStatus = 0;
    while (::waitpid(pid, &nStatus, 0) < 0)
    {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
}

// A stand-in program: a shell script that writes the arguments it gets, each ended by a NUL,
// to a record file.
class CStandIn
{
public:
    CStandIn(std::string strPath, std::string strRecord)
        : m_strPath(std::move(strPath)), m_strRecord(std::move(strRecord))
    {
        std::string strQuoted = "'";
        for (const char ch : m_strRecord)
            strQuoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
        strQuoted += "'";
        ::unlink(m_strPath.c_str());
        std::ofstream file(m_strPath, std::ios::binary | std::ios::trunc);
        file << "#!/bin/sh\nprintf '%s\\0' \"$@\" > " << strQuoted << "\n";
        file.close();
        if (!file || ::chmod(m_strPath.c_str(), 0755) != 0)
            throw std::runtime_error("cannot write the stand-in " + m_strPath);
    }

    const std::string& GetPath() const { return m_strPath; }
    // The arguments of the last run (the record is consumed); nullopt when it did not run.
    std::optional<Args> TakeRecord() const
    {
        struct stat st = {};
        if (::stat(m_strRecord.c_str(), &st) != 0)
            return std::nullopt;
        const std::string strText = ReadText(m_strRecord);
        ::unlink(m_strRecord.c_str());
        Args args;
        size_t nStart = 0;
        for (size_t i = 0; i < strText.size(); ++i)
        {
            if (strText[i] == '\0')
            {
                args.push_back(strText.substr(nStart, i - nStart));
                nStart = i + 1;
            }
        }
        return args;
    }

private:
    std::string m_strPath;
    std::string m_strRecord;
};

} // namespace Launch

#endif
