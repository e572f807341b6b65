// The command line as the framework hands it to the application: each argument is given to
// ParseParam in order, switches without their "-" or "/". The application's own parser derives
// from CCommandLineInfo and picks its switches out before the base sees them.
#pragma once

#include "base/Path.h"
#include "base/String.h"

class CCommandLineInfo
{
public:
    enum ShellCommand
    {
        FileNew,
        FileOpen
    };

    CCommandLineInfo() = default;
    virtual ~CCommandLineInfo() = default;

    // One argument; for a switch (bFlag) the text after its "-" or "/". Switches are ignored
    // here. The first plain argument that is not empty becomes m_strFileName and sets the
    // command "open"; later plain arguments are ignored.
    virtual void ParseParam(const CString& strParam, BOOL bFlag, BOOL bLast);

    // Whether strName (the text after "/") is a switch of the program. On systems whose paths
    // begin with "/", only such names make a "/" argument a switch; every other one is a path.
    virtual BOOL IsKnownSwitch(const CString& strName) const;

    ShellCommand m_nShellCommand = FileNew;
    CString m_strFileName;
};

// Hands every argument after the program's own name (argv[0]) to info.ParseParam, converting it
// from the system's form without loss (see Path::FromNative).
void ParseCommandLine(CCommandLineInfo& info, int argc,
                      const Path::NativePath::value_type* const* argv);
// The same for arguments already converted, the program's name not included.
void ParseCommandLine(CCommandLineInfo& info, const CStringArray& args);
