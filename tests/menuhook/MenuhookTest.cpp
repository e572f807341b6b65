// Menuhook.dll as Explorer uses it: loaded from its folder (and through the registry), asked
// for its class, handed the selection, asked for its menu item and its texts, and invoked,
// with a stand-in Tagwright.exe beside it that records how it was started.
#include "HDropDataObject.h"
#include "MenuhookLibrary.h"
#include "StandInRecord.h"

#include "app/MessageBoxWatch.h"
#include "app/ShellRegistration.h"
#include "app/Win32ShellRegistry.h"
#include "fixtures/FileBytes.h"
#include "fixtures/TempDir.h"
#include "menuhook/MenuhookGuids.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{

// Explorer's threads are apartments; ShellExecuteW expects one too.
class CComEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { ::CoUninitialize(); }
};

const ::testing::Environment* const s_pComEnvironment =
    ::testing::AddGlobalTestEnvironment(new CComEnvironment);

std::wstring Wide(const CString& str)
{
    return std::wstring(str.str().begin(), str.str().end());
}

// The extension under both of its interfaces, released at the end.
struct tagEXTENSION
{
    IContextMenu* pMenu = nullptr;
    IShellExtInit* pInit = nullptr;

    ~tagEXTENSION()
    {
        if (pInit)
            pInit->Release();
        if (pMenu)
            pMenu->Release();
    }
};

class MenuhookTest : public ::testing::Test
{
protected:
    MenuhookTest() : m_folder(Wide(m_dir.StrPath())), m_library(m_folder, true) {}

    void SetUp() override { ASSERT_TRUE(m_library.IsLoaded()); }
    // Every object released: the library may go.
    void TearDown() override { EXPECT_EQ(m_library.CanUnloadNow(), S_OK); }

    void Create(tagEXTENSION& ext)
    {
        ASSERT_EQ(m_library.CreateInstance(IID_IContextMenu, reinterpret_cast<void**>(&ext.pMenu)),
                  S_OK);
        ASSERT_EQ(
            ext.pMenu->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&ext.pInit)),
            S_OK);
    }

    // Initialize with a drop of these paths.
    HRESULT Select(tagEXTENSION& ext, const std::vector<std::wstring>& paths)
    {
        CHDropDataObject* pData = new CHDropDataObject(paths);
        const HRESULT hr = ext.pInit->Initialize(nullptr, pData, nullptr);
        pData->Release();
        return hr;
    }

    std::wstring File(const char* pszName)
    {
        Fixtures::WriteFileBytes(m_dir.PathOf(pszName), Fixtures::BytesOf("audio"));
        return Wide(m_dir.StrPathOf(pszName));
    }

    Fixtures::CTempDir m_dir;
    std::wstring m_folder;
    CMenuhookLibrary m_library;
};

HRESULT InvokeByVerb(IContextMenu* pMenu, const char* pszVerb)
{
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof(info);
    info.lpVerb = pszVerb;
    info.nShow = SW_SHOWNORMAL;
    return pMenu->InvokeCommand(&info);
}

HRESULT InvokeByOffset(IContextMenu* pMenu, UINT nOffset)
{
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof(info);
    info.lpVerb = MAKEINTRESOURCEA(nOffset);
    info.nShow = SW_SHOWNORMAL;
    return pMenu->InvokeCommand(&info);
}

// The extended record as a Unicode caller fills it.
HRESULT InvokeWide(IContextMenu* pMenu, const wchar_t* pszVerbW, const char* pszVerbA)
{
    CMINVOKECOMMANDINFOEX info = {};
    info.cbSize = sizeof(info);
    info.fMask = CMIC_MASK_UNICODE;
    info.lpVerb = pszVerbA;
    info.lpVerbW = pszVerbW;
    info.nShow = SW_SHOWNORMAL;
    return pMenu->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&info));
}

// Width, height and bits per pixel of a bitmap resource as stored.
struct tagBITMAPFACTS
{
    LONG nWidth = 0;
    LONG nHeight = 0;
    WORD nBits = 0;
};

tagBITMAPFACTS BitmapResource(HMODULE hModule, int nId)
{
    tagBITMAPFACTS facts;
    const HRSRC hResource = ::FindResourceW(hModule, MAKEINTRESOURCEW(nId), MAKEINTRESOURCEW(2));
    if (!hResource)
        return facts;
    const auto* pHeader =
        static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(hModule, hResource)));
    if (pHeader)
        facts = {pHeader->biWidth, pHeader->biHeight, pHeader->biBitCount};
    return facts;
}

} // namespace

TEST_F(MenuhookTest, ExportsOnlyItsTwoFunctionsAndCarriesBothBitmaps)
{
    EXPECT_EQ(::GetProcAddress(m_library.GetModule(), "DllRegisterServer"), nullptr);
    EXPECT_EQ(::GetProcAddress(m_library.GetModule(), "DllMain"), nullptr);
    const tagBITMAPFACTS small = BitmapResource(m_library.GetModule(), 101);
    EXPECT_EQ(small.nWidth, 13);
    EXPECT_EQ(small.nHeight, 13);
    EXPECT_EQ(small.nBits, 8);
    const tagBITMAPFACTS large = BitmapResource(m_library.GetModule(), 102);
    EXPECT_EQ(large.nWidth, 16);
    EXPECT_EQ(large.nHeight, 16);
    EXPECT_EQ(large.nBits, 32);
}

TEST_F(MenuhookTest, GivesAFactoryForItsClassOnly)
{
    const CLSID other = {
        0x5A6DE7BD, 0x86AE, 0x47C7, {0xB8, 0x86, 0x19, 0x2E, 0x50, 0x5D, 0x51, 0xFC}};
    void* pv = reinterpret_cast<void*>(1);
    EXPECT_EQ(m_library.GetClassObject(other, IID_IClassFactory, &pv), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(pv, nullptr);
    EXPECT_EQ(m_library.CanUnloadNow(), S_OK);

    IClassFactory* pFactory = nullptr;
    ASSERT_EQ(m_library.GetClassObject(CLSID_FileContextMenuExt, IID_IClassFactory,
                                       reinterpret_cast<void**>(&pFactory)),
              S_OK);
    EXPECT_EQ(m_library.CanUnloadNow(), S_FALSE);
    IUnknown* pUnknown = nullptr;
    ASSERT_EQ(pFactory->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&pUnknown)), S_OK);
    EXPECT_EQ(pUnknown, static_cast<IUnknown*>(pFactory));
    EXPECT_EQ(pUnknown->Release(), 1u);
    EXPECT_EQ(pFactory->Release(), 0u);
    EXPECT_EQ(m_library.CanUnloadNow(), S_OK);

    // A factory asked for an interface it lacks is not kept.
    EXPECT_EQ(m_library.GetClassObject(CLSID_FileContextMenuExt, IID_IContextMenu, &pv),
              E_NOINTERFACE);
    EXPECT_EQ(pv, nullptr);
}

TEST_F(MenuhookTest, FactoryMakesExtensionsWithoutAggregationAndLocksTheLibrary)
{
    IClassFactory* pFactory = nullptr;
    ASSERT_EQ(m_library.GetClassObject(CLSID_FileContextMenuExt, IID_IClassFactory,
                                       reinterpret_cast<void**>(&pFactory)),
              S_OK);
    void* pv = reinterpret_cast<void*>(1);
    EXPECT_EQ(
        pFactory->CreateInstance(reinterpret_cast<IUnknown*>(pFactory), IID_IContextMenu, &pv),
        CLASS_E_NOAGGREGATION);
    EXPECT_EQ(pv, nullptr);
    EXPECT_EQ(pFactory->CreateInstance(nullptr, IID_IClassFactory, &pv), E_NOINTERFACE);

    IContextMenu* pMenu = nullptr;
    ASSERT_EQ(pFactory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&pMenu)),
              S_OK);
    IShellExtInit* pInit = nullptr;
    ASSERT_EQ(pMenu->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&pInit)), S_OK);
    IUnknown* pFromMenu = nullptr;
    IUnknown* pFromInit = nullptr;
    pMenu->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&pFromMenu));
    pInit->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&pFromInit));
    EXPECT_NE(pFromMenu, nullptr);
    EXPECT_EQ(pFromMenu, pFromInit); // one identity
    EXPECT_EQ(pMenu->QueryInterface(IID_IClassFactory, &pv), E_NOINTERFACE);
    pFromMenu->Release();
    pFromInit->Release();
    pInit->Release();
    EXPECT_EQ(pMenu->Release(), 0u);

    // A lock outlives the factory.
    EXPECT_EQ(pFactory->LockServer(TRUE), S_OK);
    EXPECT_EQ(pFactory->Release(), 0u);
    EXPECT_EQ(m_library.CanUnloadNow(), S_FALSE);
    ASSERT_EQ(m_library.GetClassObject(CLSID_FileContextMenuExt, IID_IClassFactory,
                                       reinterpret_cast<void**>(&pFactory)),
              S_OK);
    EXPECT_EQ(pFactory->LockServer(FALSE), S_OK);
    EXPECT_EQ(m_library.CanUnloadNow(), S_FALSE); // the factory itself
    pFactory->Release();
    EXPECT_EQ(m_library.CanUnloadNow(), S_OK);
}

TEST_F(MenuhookTest, InitializeWantsADropOfFiles)
{
    tagEXTENSION ext;
    Create(ext);
    EXPECT_EQ(ext.pInit->Initialize(nullptr, nullptr, nullptr), E_INVALIDARG);
    // A data object without CF_HDROP.
    CHDropDataObject* pData = new CHDropDataObject({L"C:\\a.mp3"}, false);
    EXPECT_EQ(ext.pInit->Initialize(nullptr, pData, nullptr), E_FAIL);
    EXPECT_EQ(pData->GetDataCalls(), 1);
    pData->Release();

    // Taken once per Initialize.
    pData = new CHDropDataObject({L"C:\\a.mp3"});
    EXPECT_EQ(ext.pInit->Initialize(nullptr, pData, nullptr), S_OK);
    EXPECT_EQ(pData->GetDataCalls(), 1);
    pData->Release();
}

TEST_F(MenuhookTest, QueryContextMenuAddsTheItemAndASeparator)
{
    tagEXTENSION ext;
    Create(ext);
    const HMENU hMenu = ::CreatePopupMenu();
    ASSERT_NE(hMenu, nullptr);
    EXPECT_EQ(ext.pMenu->QueryContextMenu(hMenu, 0, 100, 200, CMF_DEFAULTONLY), 0);
    EXPECT_EQ(::GetMenuItemCount(hMenu), 0);

    ::AppendMenuW(hMenu, MF_STRING, 1, L"&Open");
    ::AppendMenuW(hMenu, MF_STRING, 2, L"&Properties");
    EXPECT_EQ(ext.pMenu->QueryContextMenu(hMenu, 1, 100, 200, CMF_NORMAL), MAKE_HRESULT(0, 0, 1));
    ASSERT_EQ(::GetMenuItemCount(hMenu), 4);

    wchar_t szText[64] = {};
    MENUITEMINFOW item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING | MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_BITMAP;
    item.dwTypeData = szText;
    item.cch = 64;
    ASSERT_TRUE(::GetMenuItemInfoW(hMenu, 1, TRUE, &item));
    EXPECT_EQ(std::wstring(szText), L"Tag&wright");
    EXPECT_EQ(item.wID, 100u);
    EXPECT_EQ(item.fType & MFT_SEPARATOR, 0u);
    EXPECT_EQ(item.fState & (MFS_DISABLED | MFS_GRAYED), 0u);
    // From Windows Vista on the picture is the item's bitmap: 16 x 16 at 32 bits.
    ASSERT_NE(item.hbmpItem, nullptr);
    BITMAP bitmap = {};
    ASSERT_EQ(::GetObjectW(item.hbmpItem, sizeof(bitmap), &bitmap),
              static_cast<int>(sizeof(bitmap)));
    EXPECT_EQ(bitmap.bmWidth, 16);
    EXPECT_EQ(bitmap.bmHeight, 16);
    EXPECT_EQ(bitmap.bmBitsPixel, 32);

    item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE;
    ASSERT_TRUE(::GetMenuItemInfoW(hMenu, 2, TRUE, &item));
    EXPECT_NE(item.fType & MFT_SEPARATOR, 0u);
    EXPECT_EQ(::GetMenuItemID(hMenu, 3), 2u);
    ::DestroyMenu(hMenu);
}

TEST_F(MenuhookTest, CommandStringsOfEveryTypeInBoundedBuffers)
{
    tagEXTENSION ext;
    Create(ext);
    char sz[64] = {};
    wchar_t wsz[64] = {};
    EXPECT_EQ(ext.pMenu->GetCommandString(1, GCS_VERBA, nullptr, sz, 64), E_INVALIDARG);
    EXPECT_EQ(ext.pMenu->GetCommandString(0, GCS_VERBA, nullptr, sz, 64), S_OK);
    EXPECT_STREQ(sz, "openwithtagwright");
    EXPECT_EQ(ext.pMenu->GetCommandString(0, GCS_HELPTEXTA, nullptr, sz, 64), S_OK);
    EXPECT_STREQ(sz, "Open selected files with Tagwright");
    EXPECT_EQ(ext.pMenu->GetCommandString(0, GCS_VERBW, nullptr, reinterpret_cast<LPSTR>(wsz), 64),
              S_OK);
    EXPECT_EQ(std::wstring(wsz), L"openwithtagwright");
    EXPECT_EQ(
        ext.pMenu->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<LPSTR>(wsz), 64),
        S_OK);
    EXPECT_EQ(std::wstring(wsz), L"Open selected files with Tagwright");

    // Five characters: four and the terminator, and the result says it was cut.
    EXPECT_EQ(
        ext.pMenu->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<LPSTR>(wsz), 5),
        static_cast<HRESULT>(0x8007007A));
    EXPECT_EQ(std::wstring(wsz), L"Open");
    EXPECT_EQ(ext.pMenu->GetCommandString(0, GCS_HELPTEXTA, nullptr, sz, 5),
              static_cast<HRESULT>(0x8007007A));
    EXPECT_STREQ(sz, "Open");
    EXPECT_EQ(ext.pMenu->GetCommandString(0, GCS_VERBA, nullptr, sz, 18), S_OK);
    EXPECT_EQ(ext.pMenu->GetCommandString(0, GCS_VERBA, nullptr, sz, 17),
              static_cast<HRESULT>(0x8007007A));

    // No room at all, or a size no signed count holds.
    sz[0] = 'x';
    EXPECT_EQ(ext.pMenu->GetCommandString(0, GCS_VERBA, nullptr, sz, 0), E_INVALIDARG);
    EXPECT_EQ(sz[0], 'x');
    EXPECT_EQ(ext.pMenu->GetCommandString(0, GCS_VERBA, nullptr, sz, 0x80000000u), E_INVALIDARG);
    EXPECT_EQ(sz[0], '\0');

    // Other types copy nothing.
    std::strcpy(sz, "kept");
    EXPECT_EQ(ext.pMenu->GetCommandString(0, GCS_VALIDATEA, nullptr, sz, 64), S_OK);
    EXPECT_STREQ(sz, "kept");
}

TEST_F(MenuhookTest, OneFileStartsTheProgramWithItsQuotedPath)
{
    tagEXTENSION ext;
    Create(ext);
    const std::wstring strA = File("one song.mp3");
    ASSERT_EQ(Select(ext, {strA}), S_OK);
    CStandInRecord record(m_folder + L"\\record.txt");
    EXPECT_EQ(InvokeByOffset(ext.pMenu, 0), S_OK);
    ASSERT_TRUE(record.Wait());
    EXPECT_EQ(record.GetArguments(), std::vector<std::wstring>{strA});
    const std::wstring strTail = L" \"" + strA + L"\"";
    const std::wstring& strLine = record.GetCommandLine();
    ASSERT_GE(strLine.size(), strTail.size());
    EXPECT_EQ(strLine.substr(strLine.size() - strTail.size()), strTail);
    // The program beside the library.
    EXPECT_NE(strLine.find(m_folder + L"\\Tagwright.exe"), std::wstring::npos) << strLine.c_str();
}

TEST_F(MenuhookTest, SeveralFilesAreJoinedByBarsInDropOrder)
{
    tagEXTENSION ext;
    Create(ext);
    const std::wstring strB = File("b.mp3");
    const std::wstring strA = File("a.mp3");
    const std::wstring strList = File("list.m3u");
    ASSERT_EQ(Select(ext, {strB, strA, strList}), S_OK);
    CStandInRecord record(m_folder + L"\\record.txt");
    EXPECT_EQ(InvokeByVerb(ext.pMenu, "OPENWITHTAGWRIGHT"), S_OK);
    ASSERT_TRUE(record.Wait());
    const std::wstring strJoined = strB + L"|" + strA + L"|" + strList;
    EXPECT_EQ(record.GetArguments(), std::vector<std::wstring>{strJoined});
    const std::wstring strTail = L" \"" + strJoined + L"\"";
    const std::wstring& strLine = record.GetCommandLine();
    ASSERT_GE(strLine.size(), strTail.size());
    EXPECT_EQ(strLine.substr(strLine.size() - strTail.size()), strTail);

    // A later Initialize replaces the selection.
    ASSERT_EQ(Select(ext, {strA}), S_OK);
    CStandInRecord again(m_folder + L"\\again.txt");
    EXPECT_EQ(InvokeWide(ext.pMenu, L"OpenWithTagwright", nullptr), S_OK);
    ASSERT_TRUE(again.Wait());
    EXPECT_EQ(again.GetArguments(), std::vector<std::wstring>{strA});
}

TEST_F(MenuhookTest, OnlyItsVerbAndCommandOffsetZeroRunTheCommand)
{
    tagEXTENSION ext;
    Create(ext);
    ASSERT_EQ(Select(ext, {File("a.mp3")}), S_OK);
    CStandInRecord record(m_folder + L"\\record.txt");
    EXPECT_EQ(InvokeByOffset(ext.pMenu, 1), E_FAIL);
    EXPECT_EQ(InvokeByVerb(ext.pMenu, "open"), E_FAIL);
    EXPECT_EQ(InvokeByVerb(ext.pMenu, "openwithtagwrigh"), E_FAIL);
    EXPECT_EQ(InvokeWide(ext.pMenu, L"properties", "openwithtagwright"), E_FAIL);
    // A Unicode record whose wide verb is an offset looks at the narrow one's low word.
    EXPECT_EQ(InvokeWide(ext.pMenu, reinterpret_cast<const wchar_t*>(MAKEINTRESOURCEW(0)),
                         MAKEINTRESOURCEA(1)),
              E_FAIL);
    EXPECT_FALSE(record.HasStarted());
    EXPECT_EQ(InvokeWide(ext.pMenu, reinterpret_cast<const wchar_t*>(MAKEINTRESOURCEW(0)),
                         MAKEINTRESOURCEA(0)),
              S_OK);
    EXPECT_TRUE(record.Wait());
}

TEST_F(MenuhookTest, AProgramThatCannotBeStartedIsReportedAndTheCallStillSucceeds)
{
    Fixtures::CTempDir empty;
    CMenuhookLibrary alone(Wide(empty.StrPath()), false);
    ASSERT_TRUE(alone.IsLoaded());
    {
        IContextMenu* pMenu = nullptr;
        ASSERT_EQ(alone.CreateInstance(IID_IContextMenu, reinterpret_cast<void**>(&pMenu)), S_OK);
        Fixtures::CMessageBoxWatch watch;
        EXPECT_EQ(InvokeByOffset(pMenu, 0), S_OK);
        pMenu->Release();
        if (Fixtures::CMessageBoxWatch::CanShowWindows())
        {
            ASSERT_EQ(watch.GetBoxes().size(), 1u);
            EXPECT_EQ(watch.GetBoxes()[0].strText, L"Enable to lunch Tagwright.exe");
            EXPECT_EQ(watch.GetBoxes()[0].strCaption, L"Error");
            EXPECT_TRUE(watch.GetBoxes()[0].bErrorIcon);
        }
    }
    EXPECT_EQ(alone.CanUnloadNow(), S_OK);
}

TEST_F(MenuhookTest, ExplorersOwnDataObjectOfTheFolderWorksToo)
{
    const std::wstring strA = File("a.mp3");
    const std::wstring strB = File("b.mp3");
    IShellFolder* pDesktop = nullptr;
    ASSERT_EQ(::SHGetDesktopFolder(&pDesktop), S_OK);
    PIDLIST_RELATIVE pidlFolder = nullptr;
    ASSERT_EQ(pDesktop->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(m_folder.c_str()),
                                         nullptr, &pidlFolder, nullptr),
              S_OK);
    IShellFolder* pFolder = nullptr;
    ASSERT_EQ(pDesktop->BindToObject(pidlFolder, nullptr, IID_IShellFolder,
                                     reinterpret_cast<void**>(&pFolder)),
              S_OK);
    PIDLIST_RELATIVE pidlA = nullptr;
    PIDLIST_RELATIVE pidlB = nullptr;
    ASSERT_EQ(pFolder->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(L"a.mp3"), nullptr,
                                        &pidlA, nullptr),
              S_OK);
    ASSERT_EQ(pFolder->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(L"b.mp3"), nullptr,
                                        &pidlB, nullptr),
              S_OK);
    PCUITEMID_CHILD children[] = {pidlA, pidlB};
    IDataObject* pData = nullptr;
    ASSERT_EQ(pFolder->GetUIObjectOf(nullptr, 2, children, IID_IDataObject, nullptr,
                                     reinterpret_cast<void**>(&pData)),
              S_OK);
    {
        tagEXTENSION ext;
        Create(ext);
        EXPECT_EQ(ext.pInit->Initialize(nullptr, pData, nullptr), S_OK);
        CStandInRecord record(m_folder + L"\\record.txt");
        EXPECT_EQ(InvokeByOffset(ext.pMenu, 0), S_OK);
        ASSERT_TRUE(record.Wait());
        ASSERT_EQ(record.GetArguments().size(), 1u);
        // The shell spells the folder its own way; the names and their order are the point.
        const std::wstring& strArgument = record.GetArguments()[0];
        const size_t nBar = strArgument.find(L'|');
        ASSERT_NE(nBar, std::wstring::npos) << strArgument.c_str();
        EXPECT_EQ(strArgument.substr(nBar - 6, 6), L"\\a.mp3");
        EXPECT_EQ(strArgument.substr(strArgument.size() - 6), L"\\b.mp3");
    }
    pData->Release();
    ::CoTaskMemFree(pidlA);
    ::CoTaskMemFree(pidlB);
    pFolder->Release();
    ::CoTaskMemFree(pidlFolder);
    pDesktop->Release();
}

// Registered by the program's own routine, the library is found by its class identifier.
TEST(MenuhookRegistryTest, CoCreateInstanceFindsTheRegisteredLibrary)
{
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    CWin32ShellRegistry registry;
    CShellRegistration registration(registry);
    ASSERT_TRUE(registration.RegisterContextMenuServer(TRUE));

    Fixtures::CTempDir dir;
    const std::wstring strA = Wide(dir.StrPathOf("a.mp3"));
    const std::wstring strB = Wide(dir.StrPathOf("b.mp3"));
    {
        IContextMenu* pMenu = nullptr;
        ASSERT_EQ(::CoCreateInstance(CLSID_FileContextMenuExt, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IContextMenu, reinterpret_cast<void**>(&pMenu)),
                  S_OK);
        // The library registered is the build's own, beside this program.
        const HMODULE hLoaded =
            ::GetModuleHandleW((CMenuhookLibrary::GetBuildFolder() + L"\\Menuhook.dll").c_str());
        EXPECT_NE(hLoaded, nullptr);
        IShellExtInit* pInit = nullptr;
        ASSERT_EQ(pMenu->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&pInit)), S_OK);
        CHDropDataObject* pData = new CHDropDataObject({strA, strB});
        EXPECT_EQ(pInit->Initialize(nullptr, pData, nullptr), S_OK);
        pData->Release();
        CStandInRecord record(Wide(dir.StrPathOf("record.txt")));
        EXPECT_EQ(InvokeByOffset(pMenu, 0), S_OK);
        ASSERT_TRUE(record.Wait());
        EXPECT_EQ(record.GetArguments(), std::vector<std::wstring>{strA + L"|" + strB});
        pInit->Release();
        pMenu->Release();
    }
    ::CoFreeUnusedLibraries();

    // Disabled, the class stays creatable; uninstalled, it is gone.
    ASSERT_TRUE(registration.RegisterContextMenuServer(FALSE));
    IContextMenu* pMenu = nullptr;
    ASSERT_EQ(::CoCreateInstance(CLSID_FileContextMenuExt, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IContextMenu, reinterpret_cast<void**>(&pMenu)),
              S_OK);
    pMenu->Release();
    registration.UnregisterContextMenuServer();
    EXPECT_EQ(::CoCreateInstance(CLSID_FileContextMenuExt, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IContextMenu, reinterpret_cast<void**>(&pMenu)),
              REGDB_E_CLASSNOTREG);
    ::CoUninitialize();
}
