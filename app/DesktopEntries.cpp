#include "app/DesktopEntries.h"

#ifndef _WIN32

#include <string_view>

namespace
{

// The types offered: MPEG audio, M3U playlists (under all their names) and folders.
constexpr std::string_view kMimeTypes = "audio/mpeg;audio/mp2;audio/x-mpegurl;audio/mpegurl;"
                                        "application/vnd.apple.mpegurl;inode/directory;";
constexpr std::string_view kHelpText = "Open selected files with Tagwright";

// The desktop entry and Dolphin hand the selection over as separate arguments (%F); the shell
// joins them with "|" into the one argument Tagwright takes. The program comes as $0.
constexpr std::string_view kJoinScript = "IFS='|'; exec \"$0\" \"$*\"";

// Nemo puts the selection into its command text itself, and quotes paths in a way that loses
// backslashes and quotes. URIs come through intact, since they hold neither; this script turns
// them back into paths. Nemo reads every "%" of the command as the start of a field code, so
// the script holds none: it makes "%" with printf, and builds the one suffix removal it needs
// with eval. The program's path comes as $0, in printf's octal escapes for the same reason.
constexpr std::string_view kNemoScript =
    "p=$(printf \"\\\\045\"); "
    "v() { case $1 in 0*) n=0;; 1*) n=1;; 2*) n=2;; 3*) n=3;; 4*) n=4;; 5*) n=5;; 6*) n=6;; "
    "7*) n=7;; 8*) n=8;; 9*) n=9;; [Aa]*) n=10;; [Bb]*) n=11;; [Cc]*) n=12;; [Dd]*) n=13;; "
    "[Ee]*) n=14;; [Ff]*) n=15;; *) n=16;; esac; }; "
    "d() { o=$IFS; IFS=$p; set -f; set -- $1; set +f; IFS=$o; e=${1-}; "
    "[ $# -gt 0 ] && shift; for f in \"$@\"; do v \"$f\"; a=$n; v \"${f#?}\"; b=$n; "
    "if [ $a -lt 16 ] && [ $b -lt 16 ]; then n=$((a*16+b)); "
    "e=$e\\\\0$((n/64))$((n/8-n/64*8))$((n-n/8*8))${f#??}; else e=$e$p$f; fi; done; }; "
    "t() { r=$(printf \"${p}bx\" \"$1\"); eval \"r=\\${r${p}x}\"; }; "
    "t \"$0\"; g=$r; l=; s=; "
    "for u in \"$@\"; do case $u in file://*) ;; *) continue;; esac; u=${u#file://}; "
    "case $u in /*) ;; *) u=/${u#*/};; esac; d \"$u\"; l=$l$s$e; s=\"|\"; done; "
    "t \"$l\"; exec \"$g\" \"$r\"";

// A word for the POSIX shell (and GLib's command-line parser, which Nemo uses): single quotes,
// each quote inside written as '\''.
std::string QuoteShell(std::string_view text)
{
    std::string strResult = "'";
    for (const char ch : text)
    {
        if (ch == '\'')
            strResult += "'\\''";
        else
            strResult += ch;
    }
    strResult += '\'';
    return strResult;
}

// An argument of a desktop entry's Exec: double quotes, with '"', '`', '$' and '\' escaped by a
// backslash, and '%' doubled, since it would start a field code.
std::string QuoteExecArgument(std::string_view text)
{
    std::string strResult = "\"";
    for (const char ch : text)
    {
        if (ch == '"' || ch == '`' || ch == '$' || ch == '\\')
            strResult += '\\';
        if (ch == '%')
            strResult += '%';
        strResult += ch;
    }
    strResult += '"';
    return strResult;
}

// A value as a key file holds it: backslashes, line ends and tabs escaped, and a leading space
// kept.
std::string EscapeValue(std::string_view text)
{
    std::string strResult;
    for (size_t i = 0; i < text.size(); ++i)
    {
        const char ch = text[i];
        switch (ch)
        {
        case '\\':
            strResult += "\\\\";
            break;
        case '\n':
            strResult += "\\n";
            break;
        case '\r':
            strResult += "\\r";
            break;
        case '\t':
            strResult += "\\t";
            break;
        case ' ':
            strResult += i == 0 ? "\\s" : " ";
            break;
        default:
            strResult += ch;
            break;
        }
    }
    return strResult;
}

// Every byte other than letters, digits and "/._-" as printf's "\0ooo", which the Nemo script
// decodes with "%b".
std::string EncodeOctal(std::string_view text)
{
    std::string strResult;
    for (const char ch : text)
    {
        const auto n = static_cast<unsigned char>(ch);
        const bool bPlain = (n >= 'a' && n <= 'z') || (n >= 'A' && n <= 'Z') ||
                            (n >= '0' && n <= '9') || n == '/' || n == '.' || n == '_' || n == '-';
        if (bPlain)
        {
            strResult += ch;
            continue;
        }
        strResult += "\\0";
        strResult += static_cast<char>('0' + ((n >> 6) & 7));
        strResult += static_cast<char>('0' + ((n >> 3) & 7));
        strResult += static_cast<char>('0' + (n & 7));
    }
    return strResult;
}

// The Exec line of the desktop entry and of Dolphin's action.
std::string MakeJoinExec(const std::string& strProgram)
{
    return "/bin/sh -c " + QuoteExecArgument(kJoinScript) + " " + QuoteExecArgument(strProgram) +
           " %F";
}

// The marker line and a line end for the user's entries, nothing for the system's.
std::string MakeHead(bool bMarked)
{
    return bMarked ? std::string(DesktopEntries::MARKER) + "\n" : std::string();
}

} // namespace

namespace DesktopEntries
{

std::string MakeDesktopEntry(const std::string& strProgram, const std::string& strIcon,
                             bool bMarked)
{
    std::string strText = MakeHead(bMarked);
    strText += "[Desktop Entry]\n"
               "Type=Application\n"
               "Version=1.4\n"
               "Name=Tagwright\n"
               "GenericName=Tag Editor\n"
               "Comment=Edit the tags of MPEG audio files\n"
               "Keywords=tag;tags;ID3;MP3;metadata;rename;playlist;\n";
    strText += "Icon=" + EscapeValue(strIcon) + "\n";
    strText += "TryExec=" + EscapeValue(strProgram) + "\n";
    strText += "Exec=" + EscapeValue(MakeJoinExec(strProgram)) + "\n";
    // The window's class on X11, by which a desktop ties the window to this entry.
    strText += "StartupWMClass=Tagwright\n"
               "Terminal=false\n"
               "Categories=AudioVideo;Audio;AudioVideoEditing;Qt;\n";
    strText += "MimeType=" + std::string(kMimeTypes) + "\n";
    return strText;
}

std::string MakeServiceMenu(const std::string& strProgram, const std::string& strIcon, bool bMarked)
{
    std::string strText = MakeHead(bMarked);
    strText += "[Desktop Entry]\n"
               "Type=Service\n"
               "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n";
    strText += "MimeType=" + std::string(kMimeTypes) + "\n";
    strText += "Actions=openwithtagwright;\n"
               "X-KDE-Priority=TopLevel\n"
               "\n"
               "[Desktop Action openwithtagwright]\n"
               "Name=Tagwright\n";
    strText += "Icon=" + EscapeValue(strIcon) + "\n";
    strText += "Exec=" + EscapeValue(MakeJoinExec(strProgram)) + "\n";
    return strText;
}

std::string MakeNautilusScript(const std::string& strProgram)
{
    std::string strText = "#!/bin/sh\n";
    strText += MARKER;
    strText += "\n# Nautilus runs a script in the folder shown, with the selected names as its "
               "arguments.\n"
               "# Tagwright takes the selection as one argument: the full paths joined by \"|\".\n";
    strText += "program=" + QuoteShell(strProgram) + "\n";
    strText += "if [ \"$#\" -eq 0 ] && [ -n \"${NAUTILUS_SCRIPT_SELECTED_FILE_PATHS-}\" ]; then\n"
               "    # Only a line end parts these, so a name with one cannot come this way.\n"
               "    IFS='\n"
               "'\n"
               "    set -f\n"
               "    set -- $NAUTILUS_SCRIPT_SELECTED_FILE_PATHS\n"
               "    set +f\n"
               "    unset IFS\n"
               "fi\n"
               "list=\n"
               "separator=\n"
               "for name in \"$@\"; do\n"
               "    case $name in\n"
               "    /*) ;;\n"
               "    *) name=${PWD%/}/$name ;;\n"
               "    esac\n"
               "    list=$list$separator$name\n"
               "    separator='|'\n"
               "done\n"
               "exec \"$program\" \"$list\"\n";
    return strText;
}

std::string MakeNemoAction(const std::string& strProgram, const std::string& strIcon, bool bMarked)
{
    const std::string strExec =
        "/bin/sh -c " + QuoteShell(kNemoScript) + " " + QuoteShell(EncodeOctal(strProgram)) + " %U";
    std::string strText = MakeHead(bMarked);
    strText += "[Nemo Action]\n"
               "Name=Tagwright\n";
    strText += "Comment=" + std::string(kHelpText) + "\n";
    strText += "Exec=" + EscapeValue(strExec) + "\n";
    strText += "Icon-Name=" + EscapeValue(strIcon) + "\n";
    strText += "Selection=notnone\n"
               "Extensions=mp3;mp2;mp1;m3u;m3u8;dir;\n"
               "Quote=double\n";
    return strText;
}

} // namespace DesktopEntries

#endif
