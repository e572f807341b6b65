#include "app/CommandLineHelp.h"

HELP_REQUEST FindHelpRequest(const CStringArray& args)
{
    for (const CString& strArg : args)
    {
        if (strArg == u"--")
            break;
        if (strArg == u"--help" || strArg == u"-h")
            return HELP_USAGE;
        if (strArg == u"--version")
            return HELP_VERSION;
    }
    return HELP_NONE;
}

CString GetUsageText()
{
    return CString(
        u"Usage: tagwright [PATH]\n"
        u"       tagwright -SWITCH\n"
        u"\n"
        u"Edit the ID3v1 and ID3v2 tags of MPEG audio files (.mp3, .mp2, .mp1).\n"
        u"\n"
        u"PATH is an audio file, a folder or an M3U playlist to open. Several paths may be\n"
        u"joined with \"|\" in one argument, as the file manager's menu passes a selection:\n"
        u"  tagwright \"/music/a.mp3|/music/b.mp3\"\n"
        u"Without a path the list opens the start folder chosen in the options.\n"
        u"\n"
        u"Switches (after \"-\" or \"/\", in any case; the program ends without a window):\n"
        u"  -EnableShellIntegration   add the file manager menu entries for this user\n"
        u"  -DisableShellIntegration  remove them\n"
        u"  -Install                  add them, as a setup program does\n"
        u"  -Uninstall                remove them, as an uninstaller does\n"
        u"\n"
        u"  -h, --help                show this help and exit\n"
        u"  --version                 show the version and exit\n");
}

CString GetVersionText()
{
    return CString(u"Tagwright ") + CString::FromUtf8(TW_VERSION) + CString(u"\n");
}
