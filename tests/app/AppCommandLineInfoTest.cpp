#include "app/AppCommandLineInfo.h"
#include "app/CommandLineHelp.h"

#include "base/Path.h"
#include "browser/DiagnosticMessages.h"
#include "fixtures/FileBytes.h"
#include "fixtures/TempDir.h"
#include "res/StringTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

constexpr bool kSlashPaths = Path::chSeparator == u'/';

CAppCommandLineInfo Parse(const std::vector<std::u16string>& args)
{
    CStringArray converted;
    for (const std::u16string& s : args)
        converted.push_back(CString(s));
    CAppCommandLineInfo info;
    ParseCommandLine(info, converted);
    return info;
}

#ifndef _WIN32
// Arguments as the system hands them to main: bytes, the program's name first.
CAppCommandLineInfo ParseArgv(const std::vector<std::string>& args)
{
    std::vector<const char*> argv{"tagwright"};
    for (const std::string& s : args)
        argv.push_back(s.c_str());
    argv.push_back(nullptr);
    CAppCommandLineInfo info;
    ParseCommandLine(info, static_cast<int>(argv.size() - 1), argv.data());
    return info;
}
#endif

std::vector<std::string> Utf8(const CStringArray& strings)
{
    std::vector<std::string> out;
    for (const CString& s : strings)
        out.push_back(s.ToUtf8());
    return out;
}

CAppCommandLineInfo WithFileName(const CString& strFileName)
{
    CAppCommandLineInfo info;
    info.m_strFileName = strFileName;
    info.m_nShellCommand = CCommandLineInfo::FileOpen;
    return info;
}

} // namespace

TEST(AppCommandLineInfoTest, NothingGivenLeavesTheDefaults)
{
    const CAppCommandLineInfo info = Parse({});
    EXPECT_EQ(info.m_nCommand, 0);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
    EXPECT_TRUE(info.m_strFileName.IsEmpty());
}

TEST(AppCommandLineInfoTest, EverySwitchWithEitherPrefixInAnyCase)
{
    const struct
    {
        const char16_t* pszName;
        int nCommand;
    } cases[] = {
        {u"EnableShellIntegration", CMD_ENABLE_SHELL},
        {u"DisableShellIntegration", CMD_DISABLE_SHELL},
        {u"Install", CMD_INSTALL},
        {u"Uninstall", CMD_UNINSTALL},
    };
    for (const auto& c : cases)
    {
        const CString strName(c.pszName);
        CString strLower = strName;
        strLower.MakeLower();
        CString strUpper = strName;
        strUpper.MakeUpper();
        for (const CString& strForm : {strName, strLower, strUpper})
        {
            for (const char16_t* pszPrefix : {u"-", u"/"})
            {
                const CString strArg = CString(pszPrefix) + strForm;
                const CAppCommandLineInfo info = Parse({strArg.str()});
                EXPECT_EQ(info.m_nCommand, c.nCommand) << strArg.ToUtf8();
                EXPECT_TRUE(info.m_strFileName.IsEmpty()) << strArg.ToUtf8();
                EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew) << strArg.ToUtf8();
            }
        }
    }
}

TEST(AppCommandLineInfoTest, SwitchNamesFoldCaseByUnicodeRules)
{
    // U+017F LATIN SMALL LETTER LONG S folds to "s".
    EXPECT_EQ(Parse({u"-UNIN\u017FTALL"}).m_nCommand, CMD_UNINSTALL);
    EXPECT_EQ(Parse({u"/iNsTaLl"}).m_nCommand, CMD_INSTALL);
}

TEST(AppCommandLineInfoTest, UnknownDashSwitchesAreIgnored)
{
    for (const char16_t* psz :
         {u"-Installer", u"-Instal", u"--install", u"-", u"-x.mp3", u"- Install", u"-Install "})
    {
        const CAppCommandLineInfo info = Parse({psz});
        EXPECT_EQ(info.m_nCommand, 0) << CString(psz).ToUtf8();
        EXPECT_TRUE(info.m_strFileName.IsEmpty()) << CString(psz).ToUtf8();
        EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
    }
    // An ignored switch does not take the place of the file name.
    const CAppCommandLineInfo info = Parse({u"-foo", u"a.mp3"});
    EXPECT_EQ(info.m_strFileName, CString(u"a.mp3"));
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
}

TEST(AppCommandLineInfoTest, SlashArgumentsThatAreNoSwitchOfOurs)
{
    const CAppCommandLineInfo info = Parse({u"/home/user/Music"});
    EXPECT_EQ(info.m_nCommand, 0);
    if (kSlashPaths)
    {
        // "/" begins every absolute path here: only our four names are switches.
        EXPECT_EQ(info.m_strFileName, CString(u"/home/user/Music"));
        EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
        EXPECT_EQ(Parse({u"/"}).m_strFileName, CString(u"/"));
        EXPECT_EQ(Parse({u"/Install.mp3"}).m_strFileName, CString(u"/Install.mp3"));
    }
    else
    {
        EXPECT_TRUE(info.m_strFileName.IsEmpty());
        EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
    }
}

TEST(AppCommandLineInfoTest, FirstPlainArgumentIsTheFileName)
{
    CAppCommandLineInfo info = Parse({u"a.mp3", u"b.mp3"});
    EXPECT_EQ(info.m_strFileName, CString(u"a.mp3"));
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(info.m_nCommand, 0);

    // An empty argument names nothing; the next plain one is taken.
    info = Parse({u"", u"b.mp3", u"c.mp3"});
    EXPECT_EQ(info.m_strFileName, CString(u"b.mp3"));
    info = Parse({u""});
    EXPECT_TRUE(info.m_strFileName.IsEmpty());
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
}

TEST(AppCommandLineInfoTest, SwitchAndFileNameTogether)
{
    // The switch is recorded wherever it stands; the start-up code lets it win.
    CAppCommandLineInfo info = Parse({u"x.mp3", u"-DisableShellIntegration"});
    EXPECT_EQ(info.m_nCommand, CMD_DISABLE_SHELL);
    EXPECT_EQ(info.m_strFileName, CString(u"x.mp3"));
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);

    info = Parse({u"/install", u"x.mp3"});
    EXPECT_EQ(info.m_nCommand, CMD_INSTALL);
    EXPECT_EQ(info.m_strFileName, CString(u"x.mp3"));

    // Of several switches the last one counts.
    info = Parse({u"-Install", u"/uninstall"});
    EXPECT_EQ(info.m_nCommand, CMD_UNINSTALL);
}

TEST(AppCommandLineInfoTest, FileNameSplitsAtEveryBar)
{
    CDiagnosticMessages messages;
    CAppCommandLineInfo info;
#ifndef _WIN32
    // On Windows an argument that begins with "/" is a switch; its paths begin with a drive.
    info = Parse({u"/m/a.mp3|/m/b.mp3|/m/list.m3u"});
    EXPECT_EQ(Utf8(info.GetFilePaths(&messages)),
              (std::vector<std::string>{"/m/a.mp3", "/m/b.mp3", "/m/list.m3u"}));
    EXPECT_EQ(messages.GetCount(), 0);
#endif

    info = Parse({u"C:\\m\\a.mp3|C:\\m\\b.mp3"});
    EXPECT_EQ(Utf8(info.GetFilePaths(&messages)),
              (std::vector<std::string>{"C:\\m\\a.mp3", "C:\\m\\b.mp3"}));

    // One path without a bar is one piece, its spaces kept.
    info = Parse({u" My Music/a b.mp3 "});
    EXPECT_EQ(Utf8(info.GetFilePaths(&messages)), (std::vector<std::string>{" My Music/a b.mp3 "}));
    EXPECT_EQ(messages.GetCount(), 0);
}

#ifndef _WIN32
// Windows names cannot hold "|". A selection of one file whose name holds "|" reaches the program
// as that name; joined with others it splits as always.
TEST(AppCommandLineInfoTest, AnArgumentNamingAnExistingEntryIsOnePath)
{
    Fixtures::CTempDir dir;
    const CString strBar = dir.StrPathOf("a|b.mp3");
    Fixtures::WriteFileBytes(dir.PathOf("a|b.mp3"), {});
    CDiagnosticMessages messages;
    EXPECT_EQ(WithFileName(strBar).GetFilePaths(&messages), CStringArray{strBar});
    const CString strJoined = strBar + CString(u"|") + strBar;
    EXPECT_EQ(WithFileName(strJoined).GetFilePaths(&messages).size(), 4u);
    EXPECT_EQ(messages.GetCount(), 0);
}
#endif

TEST(AppCommandLineInfoTest, EmptyPiecesAreSkipped)
{
    CDiagnosticMessages messages;
    EXPECT_EQ(Utf8(WithFileName(u"|a.mp3||b.mp3|").GetFilePaths(&messages)),
              (std::vector<std::string>{"a.mp3", "b.mp3"}));
    EXPECT_TRUE(WithFileName(u"|").GetFilePaths(&messages).empty());
    EXPECT_TRUE(WithFileName(u"|||").GetFilePaths(&messages).empty());
    EXPECT_TRUE(WithFileName(u"").GetFilePaths(&messages).empty());
    EXPECT_EQ(messages.GetCount(), 0);
}

TEST(AppCommandLineInfoTest, OverLongPiecesAreReportedOnceEach)
{
    const int nMax = Path::GetMaxPath() - 1; // characters a path may hold
    const CString strLongest = CString(u'/') + CString(u'a', nMax - 1);
    const CString strTooLong = CString(u'/') + CString(u'b', nMax);
    const CString strTooLong2 = CString(u'/') + CString(u'c', nMax + 10);
    const CAppCommandLineInfo info =
        WithFileName(strTooLong + u"|x.mp3|" + strLongest + u"|" + strTooLong2);

    CDiagnosticMessages messages;
    const CStringArray paths = info.GetFilePaths(&messages);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0], CString(u"x.mp3"));
    EXPECT_EQ(paths[1], strLongest);
    ASSERT_EQ(messages.GetCount(), 2);
    EXPECT_EQ(messages.GetMessages()[0],
              Res::FormatResourceString(Res::IDS_FAILED_READING_FILE, strTooLong));
    EXPECT_EQ(messages.GetMessages()[1],
              Res::FormatResourceString(Res::IDS_FAILED_READING_FILE, strTooLong2));
    EXPECT_NE(messages.GetMessages()[0].Find(strTooLong), -1);

    // Without a collector the piece is still left out.
    EXPECT_EQ(info.GetFilePaths(nullptr).size(), 2u);
}

TEST(AppCommandLineInfoTest, PathLimitCountsTheSystemsOwnForm)
{
    const int nMax = Path::GetMaxPath() - 1;
    // "é" is two bytes of UTF-8 but one UTF-16 unit.
    const CString strPiece = CString(u'/') + CString(u'\u00E9', nMax / 2 + 1);
    CDiagnosticMessages messages;
    const CStringArray paths = WithFileName(strPiece).GetFilePaths(&messages);
    if (kSlashPaths)
    {
        EXPECT_TRUE(paths.empty());
        EXPECT_EQ(messages.GetCount(), 1);
    }
    else
    {
        EXPECT_EQ(paths.size(), 1u);
        EXPECT_EQ(messages.GetCount(), 0);
    }
}

#ifndef _WIN32
TEST(AppCommandLineInfoTest, ArgumentsFromMainKeepEveryByte)
{
    // As a file manager passes its selection: one argument, absolute paths joined by "|".
    const std::string strLatin1 = "/music/caf\xE9 \xFF.mp3"; // not UTF-8
    const std::string strUtf8 = "/music/Bj\xC3\xB6rk/J\xC3\xB3ga.mp3";
    const std::string strSpaces = "/my music/a b  c.mp3";
    const CAppCommandLineInfo info =
        ParseArgv({strLatin1 + "|" + strUtf8 + "|" + strSpaces, "/ignored.mp3"});
    EXPECT_EQ(info.m_nCommand, 0);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);

    const CStringArray paths = info.GetFilePaths(nullptr);
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(Path::ToNative(paths[0]), strLatin1);
    EXPECT_EQ(Path::ToNative(paths[1]), strUtf8);
    EXPECT_EQ(paths[1], CString(u"/music/Bj\u00F6rk/J\u00F3ga.mp3"));
    EXPECT_EQ(Path::ToNative(paths[2]), strSpaces);
}

TEST(AppCommandLineInfoTest, ArgumentsFromMainWithSwitches)
{
    EXPECT_EQ(ParseArgv({"-install"}).m_nCommand, CMD_INSTALL);
    EXPECT_EQ(ParseArgv({"/EnableShellIntegration"}).m_nCommand, CMD_ENABLE_SHELL);
    // A byte that is not UTF-8 makes no switch name.
    const CAppCommandLineInfo info = ParseArgv({"/Install\xE9"});
    EXPECT_EQ(info.m_nCommand, 0);
    EXPECT_EQ(Path::ToNative(info.m_strFileName), "/Install\xE9");
    // Only the program's name: nothing.
    EXPECT_TRUE(ParseArgv({}).m_strFileName.IsEmpty());
}
#endif

TEST(CommandLineHelpTest, HelpAndVersionAreFoundBeforeTheEndOfOptions)
{
    EXPECT_EQ(FindHelpRequest({u"a.mp3", u"--help"}), HELP_USAGE);
    EXPECT_EQ(FindHelpRequest({u"-h"}), HELP_USAGE);
    EXPECT_EQ(FindHelpRequest({u"--version", u"--help"}), HELP_VERSION);
    EXPECT_EQ(FindHelpRequest({u"--", u"--help"}), HELP_NONE);
    EXPECT_EQ(FindHelpRequest({u"/music/--help.mp3", u"-Install"}), HELP_NONE);
    const std::string strUsage = GetUsageText().ToUtf8();
    for (const char* pszSwitch : {"-EnableShellIntegration", "-DisableShellIntegration", "-Install",
                                  "-Uninstall", "\"|\"", "--version"})
        EXPECT_NE(strUsage.find(pszSwitch), std::string::npos) << pszSwitch;
    EXPECT_EQ(GetVersionText().ToUtf8().rfind("Tagwright ", 0), 0u);
}
