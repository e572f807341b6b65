// CShellRegistration: the registration of the context-menu library with the shell, which the
// program writes itself for its switches. It makes Menuhook.dll an in-process COM server and
// hooks it into the context menus of the audio files, playlists and folders; unregistering
// takes the hooks away and, for an uninstall, the class and the program's settings too.
#pragma once

#include "app/ShellRegistry.h"
#include "base/String.h"
#include "base/Types.h"

#include <array>

namespace ShellIntegration
{

// The class of Menuhook.dll, in the braced upper-case form the registry keeps.
inline constexpr char16_t CLASS_ID[] = u"{5A6DE7BD-86AE-47C7-B886-192E505D51FB}";
inline constexpr char16_t CLASS_DESCRIPTION[] = u"Tagwright.FileContextMenuExt class";
inline constexpr char16_t HANDLER_VALUE[] = u"Tagwright.FileContextMenuExt";
inline constexpr char16_t THREADING_MODEL[] = u"Apartment";
inline constexpr char16_t LIBRARY_FILE[] = u"Menuhook.dll";
inline constexpr char16_t BRIDGE_FILE[] = u"Regbridge64.exe";
// The types whose context menus get the item, in the order they are handled.
inline constexpr std::array<const char16_t*, 6> HOOKED_TYPES = {u".mp3", u".mp2",  u".mp1",
                                                                u".m3u", u".m3u8", u"Folder"};
// The program's settings, below the current user's key.
inline constexpr char16_t SETTINGS_KEY[] = u"software\\Corvell\\Tagwright";

} // namespace ShellIntegration

class CShellRegistration
{
public:
    // bOtherInstance: the start-up found the main window of another instance.
    explicit CShellRegistration(IShellRegistry& registry, BOOL bOtherInstance = FALSE);

    // "EnableShellIntegration" and "Install" (TRUE), "DisableShellIntegration" (FALSE): writes
    // the class keys (through Regbridge64.exe for a 32-bit program on 64-bit Windows), then adds
    // or deletes the handler key of every hooked type. TRUE when no step failed.
    BOOL RegisterContextMenuServer(BOOL bAddHandlers);
    // "Uninstall": removes the class, every handler key and the program's settings key; while
    // another instance runs it only shows message 133. TRUE when every removal succeeded.
    BOOL UnregisterContextMenuServer();

    // The classes-root key below which the handler of a hooked type goes: a type beginning with
    // a full stop names a file class by its default value when it has a non-empty one.
    CString ResolveFileClass(const CString& strType);

private:
    // The path of a file beside the program; FALSE when there is none or it does not fit.
    BOOL GetProgramFile(const char16_t* pszFile, CString& strPath);
    HRESULT AddHandler(const CString& strType);
    HRESULT DeleteHandler(const CString& strType);

    IShellRegistry& m_registry;
    BOOL m_bOtherInstance;
};
