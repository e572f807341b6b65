// The registration's rules over a registry held in memory: which keys are written, read and
// deleted, in which order, and what happens around failures. The same rules against the real
// registry are in Win32ShellRegistryTest.
#include "app/ShellRegistration.h"

#include "base/Path.h"
#include "res/StringTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace ShellIntegration;

namespace
{

constexpr HRESULT HR_NOT_FOUND = static_cast<HRESULT>(0x80070002L);

// Keys by their path (the registry ignores case), each with its named values ("" the default).
class CMemoryRegistry : public IShellRegistry
{
public:
    using Values = std::map<std::string, std::string>;

    HRESULT SetClassesRootValue(const CString& strSubKey, const char16_t* pszValueName,
                                const char16_t* pszText) override
    {
        const std::string strKey = Key(ERegistryRoot::ClassesRoot, strSubKey);
        for (const std::string& strFailing : m_failingKeys)
        {
            if (strKey == strFailing)
                return ShellRegistry::HR_FAIL;
        }
        // Creating a key creates the keys above it.
        for (size_t n = strKey.find('\\'); n != std::string::npos; n = strKey.find('\\', n + 1))
            m_keys[strKey.substr(0, n)];
        Values& values = m_keys[strKey];
        if (pszText)
        {
            const std::string strName = pszValueName ? CString(pszValueName).ToUtf8() : "";
            values[strName] = CString(pszText).ToUtf8();
            m_log.push_back("set " + strKey + (strName.empty() ? "" : "@" + strName) + "=" +
                            values[strName]);
        }
        return ShellRegistry::HR_OK;
    }

    HRESULT GetClassesRootDefault(const CString& strSubKey, CString& strValue) override
    {
        m_log.push_back("read " + Key(ERegistryRoot::ClassesRoot, strSubKey));
        const auto it = m_keys.find(Key(ERegistryRoot::ClassesRoot, strSubKey));
        if (it == m_keys.end() || !it->second.count(""))
            return HR_NOT_FOUND;
        strValue = CString::FromUtf8(it->second.at(""));
        return ShellRegistry::HR_OK;
    }

    HRESULT DeleteKeyTree(ERegistryRoot root, const CString& strSubKey) override
    {
        const std::string strKey = Key(root, strSubKey);
        m_log.push_back("delete " + strKey);
        if (!m_keys.count(strKey))
            return HR_NOT_FOUND;
        for (auto it = m_keys.begin(); it != m_keys.end();)
        {
            if (it->first == strKey || it->first.rfind(strKey + "\\", 0) == 0)
                it = m_keys.erase(it);
            else
                ++it;
        }
        return ShellRegistry::HR_OK;
    }

    BOOL GetProgramPath(CString& strPath) override
    {
        strPath = m_strProgram;
        return !m_strProgram.IsEmpty();
    }
    BOOL IsWow64() override { return m_bWow64; }
    void StartProgram(const CString& strPath, const CString& strParameters) override
    {
        m_log.push_back("start " + strPath.ToUtf8() + " " + strParameters.ToUtf8());
    }
    void ShowMessage(const CString& strText) override { m_messages.push_back(strText); }

    // "HKCR\..." or "HKCU\..." in lower case.
    static std::string Key(ERegistryRoot root, const CString& strSubKey)
    {
        CString str = strSubKey;
        str.MakeLower();
        return (root == ERegistryRoot::ClassesRoot ? "hkcr\\" : "hkcu\\") + str.ToUtf8();
    }

    bool Has(const std::string& strKey) const { return m_keys.count(strKey) != 0; }
    std::string Value(const std::string& strKey, const std::string& strName = "") const
    {
        const auto it = m_keys.find(strKey);
        return it != m_keys.end() && it->second.count(strName) ? it->second.at(strName) : "<none>";
    }

    std::map<std::string, Values> m_keys;
    std::vector<std::string> m_log;
    std::vector<CString> m_messages;
    std::vector<std::string> m_failingKeys;
    CString m_strProgram;
    BOOL m_bWow64 = FALSE;
};

#ifdef _WIN32
const CString kProgram = u"C:\\Program Files\\Tagwright\\Tagwright.exe";
const std::string kFolder = "C:\\Program Files\\Tagwright\\";
#else
const CString kProgram = u"/opt/tagwright/Tagwright";
const std::string kFolder = "/opt/tagwright/";
#endif

const std::string kClassKey = "hkcr\\clsid\\{5a6de7bd-86ae-47c7-b886-192e505d51fb}";
const std::string kHandler =
    "\\shellex\\contextmenuhandlers\\{5a6de7bd-86ae-47c7-b886-192e505d51fb}";

class ShellRegistrationTest : public ::testing::Test
{
protected:
    ShellRegistrationTest() { m_registry.m_strProgram = kProgram; }

    CMemoryRegistry m_registry;
};

} // namespace

TEST_F(ShellRegistrationTest, RegisterWritesTheClassThenEveryHandlerInOrder)
{
    CShellRegistration registration(m_registry);
    ASSERT_TRUE(registration.RegisterContextMenuServer(TRUE));
    const std::string strSet = "set " + kClassKey;
    const std::vector<std::string> expected = {
        strSet + "=Tagwright.FileContextMenuExt class",
        strSet + "\\inprocserver32=" + kFolder + "Menuhook.dll",
        strSet + "\\inprocserver32@ThreadingModel=Apartment",
        "read hkcr\\.mp3",
        "set hkcr\\.mp3" + kHandler + "=Tagwright.FileContextMenuExt",
        "read hkcr\\.mp2",
        "set hkcr\\.mp2" + kHandler + "=Tagwright.FileContextMenuExt",
        "read hkcr\\.mp1",
        "set hkcr\\.mp1" + kHandler + "=Tagwright.FileContextMenuExt",
        "read hkcr\\.m3u",
        "set hkcr\\.m3u" + kHandler + "=Tagwright.FileContextMenuExt",
        "read hkcr\\.m3u8",
        "set hkcr\\.m3u8" + kHandler + "=Tagwright.FileContextMenuExt",
        // "Folder" does not begin with a full stop: never looked up.
        "set hkcr\\folder" + kHandler + "=Tagwright.FileContextMenuExt",
    };
    EXPECT_EQ(m_registry.m_log, expected);
    EXPECT_EQ(m_registry.Value(kClassKey), "Tagwright.FileContextMenuExt class");
}

TEST_F(ShellRegistrationTest, HandlersGoBelowTheFileClassAnExtensionNames)
{
    m_registry.SetClassesRootValue(u".mp3", nullptr, u"Tagwright.mp3file");
    m_registry.SetClassesRootValue(u".mp2", nullptr, u"");     // empty: the extension itself
    m_registry.SetClassesRootValue(u".m3u", nullptr, nullptr); // a key without a value
    m_registry.SetClassesRootValue(u"Folder", nullptr, u"NotUsed");
    CShellRegistration registration(m_registry);
    EXPECT_EQ(registration.ResolveFileClass(u".mp3"), CString(u"Tagwright.mp3file"));
    EXPECT_EQ(registration.ResolveFileClass(u".mp2"), CString(u".mp2"));
    EXPECT_EQ(registration.ResolveFileClass(u".m3u"), CString(u".m3u"));
    EXPECT_EQ(registration.ResolveFileClass(u".mp1"), CString(u".mp1"));
    EXPECT_EQ(registration.ResolveFileClass(u"Folder"), CString(u"Folder"));

    ASSERT_TRUE(registration.RegisterContextMenuServer(TRUE));
    EXPECT_TRUE(m_registry.Has("hkcr\\tagwright.mp3file" + kHandler));
    EXPECT_FALSE(m_registry.Has("hkcr\\.mp3" + kHandler));
    for (const char* pszType : {".mp2", ".mp1", ".m3u", ".m3u8", "folder"})
        EXPECT_TRUE(m_registry.Has(std::string("hkcr\\") + pszType + kHandler)) << pszType;
}

TEST_F(ShellRegistrationTest, DisableKeepsTheClassAndRemovesOnlyTheHandlers)
{
    CShellRegistration registration(m_registry);
    ASSERT_TRUE(registration.RegisterContextMenuServer(TRUE));
    ASSERT_TRUE(registration.RegisterContextMenuServer(FALSE));
    EXPECT_TRUE(m_registry.Has(kClassKey));
    EXPECT_TRUE(m_registry.Has(kClassKey + "\\inprocserver32"));
    for (const char* pszType : {".mp3", ".mp2", ".mp1", ".m3u", ".m3u8", "folder"})
    {
        EXPECT_FALSE(m_registry.Has(std::string("hkcr\\") + pszType + kHandler)) << pszType;
        // The key of the type itself stays.
        EXPECT_TRUE(m_registry.Has(std::string("hkcr\\") + pszType + "\\shellex")) << pszType;
    }
    // Disabling again finds no handlers: every type is tried, and the result says so.
    m_registry.m_log.clear();
    EXPECT_FALSE(registration.RegisterContextMenuServer(FALSE));
    EXPECT_EQ(std::count_if(m_registry.m_log.begin(), m_registry.m_log.end(),
                            [](const std::string& s) { return s.rfind("delete ", 0) == 0; }),
              6);
}

TEST_F(ShellRegistrationTest, AClassKeyThatCannotBeWrittenLeavesTheHandlersAlone)
{
    CShellRegistration registration(m_registry);
    ASSERT_TRUE(registration.RegisterContextMenuServer(TRUE));
    m_registry.m_failingKeys = {kClassKey + "\\inprocserver32"};
    m_registry.m_log.clear();
    EXPECT_FALSE(registration.RegisterContextMenuServer(FALSE));
    for (const std::string& strLine : m_registry.m_log)
        EXPECT_EQ(strLine.find("shellex"), std::string::npos) << strLine;
    EXPECT_TRUE(m_registry.Has("hkcr\\.mp3" + kHandler));
}

TEST_F(ShellRegistrationTest, A32BitProgramOn64BitWindowsLeavesTheClassToTheBridge)
{
    m_registry.m_bWow64 = TRUE;
    CShellRegistration registration(m_registry);
    ASSERT_TRUE(registration.RegisterContextMenuServer(TRUE));
    ASSERT_FALSE(m_registry.m_log.empty());
    EXPECT_EQ(m_registry.m_log[0], "start " + kFolder + "Regbridge64.exe -RegInprocServer \"" +
                                       kFolder +
                                       "Menuhook.dll\" {5A6DE7BD-86AE-47C7-B886-192E505D51FB} "
                                       "\"Tagwright.FileContextMenuExt class\" Apartment");
    EXPECT_FALSE(m_registry.Has(kClassKey));
    EXPECT_TRUE(m_registry.Has("hkcr\\folder" + kHandler));

    m_registry.m_log.clear();
    registration.UnregisterContextMenuServer();
    ASSERT_FALSE(m_registry.m_log.empty());
    EXPECT_EQ(m_registry.m_log[0], "start " + kFolder +
                                       "Regbridge64.exe -UnregInprocServer "
                                       "{5A6DE7BD-86AE-47C7-B886-192E505D51FB}");
}

TEST_F(ShellRegistrationTest, UninstallRemovesTheClassTheHandlersAndTheSettings)
{
    CShellRegistration registration(m_registry);
    ASSERT_TRUE(registration.RegisterContextMenuServer(TRUE));
    m_registry.m_keys["hkcu\\software\\corvell\\tagwright"];
    m_registry.m_keys["hkcu\\software\\corvell\\tagwright\\2.5\\settings"]["LastPath"] = "x";
    m_registry.m_keys["hkcu\\software\\corvell"];
    EXPECT_TRUE(registration.UnregisterContextMenuServer());
    EXPECT_FALSE(m_registry.Has(kClassKey));
    EXPECT_FALSE(m_registry.Has("hkcu\\software\\corvell\\tagwright"));
    EXPECT_FALSE(m_registry.Has("hkcu\\software\\corvell\\tagwright\\2.5\\settings"));
    EXPECT_TRUE(m_registry.Has("hkcu\\software\\corvell")); // only the program's own key
    for (const char* pszType : {".mp3", ".mp2", ".mp1", ".m3u", ".m3u8", "folder"})
        EXPECT_FALSE(m_registry.Has(std::string("hkcr\\") + pszType + kHandler)) << pszType;
    EXPECT_TRUE(m_registry.m_messages.empty());
}

TEST_F(ShellRegistrationTest, UninstallWhileAnotherInstanceRunsOnlyShowsMessage133)
{
    CShellRegistration enable(m_registry);
    ASSERT_TRUE(enable.RegisterContextMenuServer(TRUE));
    const auto keys = m_registry.m_keys;
    m_registry.m_log.clear();

    CShellRegistration registration(m_registry, TRUE);
    EXPECT_FALSE(registration.UnregisterContextMenuServer());
    EXPECT_EQ(m_registry.m_keys, keys);
    EXPECT_TRUE(m_registry.m_log.empty());
    ASSERT_EQ(m_registry.m_messages.size(), 1u);
    EXPECT_EQ(m_registry.m_messages[0], Res::LoadResourceString(Res::IDS_ALREADY_RUNNING));
    EXPECT_EQ(m_registry.m_messages[0],
              CString(u"The application is already running. Please close the application and "
                      u"try again."));
}

TEST_F(ShellRegistrationTest, AKeyTextBeyondItsBufferFailsThatStepOnly)
{
    // A class name of 200 characters and the 67 of the handler's path do not fit 260.
    const CString strLong(u'c', 200);
    m_registry.SetClassesRootValue(u".mp3", nullptr, strLong.GetString());
    CShellRegistration registration(m_registry);
    EXPECT_FALSE(registration.RegisterContextMenuServer(TRUE));
    for (const std::string& strLine : m_registry.m_log)
        EXPECT_NE(strLine.rfind("set hkcr\\ccc", 0), 0u) << strLine;
    for (const char* pszType : {".mp2", ".mp1", ".m3u", ".m3u8", "folder"})
        EXPECT_TRUE(m_registry.Has(std::string("hkcr\\") + pszType + kHandler)) << pszType;

    // 192 + 67 characters leave room for the terminator; 193 would not.
    CMemoryRegistry other;
    other.m_strProgram = kProgram;
    other.SetClassesRootValue(u".mp3", nullptr, CString(u'd', 192).GetString());
    CShellRegistration fits(other);
    EXPECT_TRUE(fits.RegisterContextMenuServer(TRUE));
    EXPECT_TRUE(other.Has("hkcr\\" + std::string(192, 'd') + kHandler));
}

TEST_F(ShellRegistrationTest, WithoutTheProgramsPathNothingIsWritten)
{
    m_registry.m_strProgram.Empty();
    CShellRegistration registration(m_registry);
    EXPECT_FALSE(registration.RegisterContextMenuServer(TRUE));
    EXPECT_TRUE(m_registry.m_log.empty());

    // A library path beyond the platform's limit is no path either.
    m_registry.m_strProgram = CString::FromUtf8(kFolder) + CString(u'x', Path::GetMaxPath()) +
                              Path::chSeparator + u"Tagwright";
    EXPECT_FALSE(registration.RegisterContextMenuServer(TRUE));
    EXPECT_TRUE(m_registry.m_log.empty());
}
