// IShellRegistry: what the shell-integration registration needs from the system, so that its
// rules stand apart from the calls: the classes root of the registry and the user's key, the
// program's own path, the 32-on-64-bit test, starting a program and one message. The Win32
// calls stand behind it on Windows (CWin32ShellRegistry); tests and other systems give their
// own.
#pragma once

#include "base/String.h"
#include "base/Types.h"

#include <cstdint>

#ifndef _WIN32
using HRESULT = std::int32_t;
#endif

namespace ShellRegistry
{

inline constexpr HRESULT HR_OK = 0;
// The bounded copy's result for a text that does not fit its buffer.
inline constexpr HRESULT HR_INSUFFICIENT_BUFFER = static_cast<HRESULT>(0x8007007AL);
inline constexpr HRESULT HR_FAIL = static_cast<HRESULT>(0x80004005L);

inline bool Failed(HRESULT hr)
{
    return hr < 0;
}

// Key and value texts are held in buffers of this many characters, the terminator included.
inline constexpr int TEXT_BUFFER = 260;

} // namespace ShellRegistry

enum class ERegistryRoot
{
    ClassesRoot, // HKEY_CLASSES_ROOT
    CurrentUser  // HKEY_CURRENT_USER
};

class IShellRegistry
{
public:
    virtual ~IShellRegistry() = default;

    // Creates the classes-root subkey (non-volatile) and, when pszText is given, sets its value
    // pszValueName (NULL: the default value) to that text as REG_SZ.
    virtual HRESULT SetClassesRootValue(const CString& strSubKey, const char16_t* pszValueName,
                                        const char16_t* pszText) = 0;
    // The default value of the classes-root subkey, which must fit a buffer of TEXT_BUFFER
    // characters with its terminator.
    virtual HRESULT GetClassesRootDefault(const CString& strSubKey, CString& strValue) = 0;
    // Deletes the subkey with everything below it.
    virtual HRESULT DeleteKeyTree(ERegistryRoot root, const CString& strSubKey) = 0;

    // The running program's full path; FALSE when the system cannot tell it whole.
    virtual BOOL GetProgramPath(CString& strPath) = 0;
    // TRUE for a 32-bit program on 64-bit Windows.
    virtual BOOL IsWow64() = 0;
    // Starts a program with the verb "open", shown normally; the result is not examined.
    virtual void StartProgram(const CString& strPath, const CString& strParameters) = 0;
    // A warning to the user.
    virtual void ShowMessage(const CString& strText) = 0;
};
