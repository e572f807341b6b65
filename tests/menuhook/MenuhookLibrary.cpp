#include "MenuhookLibrary.h"

#include "menuhook/MenuhookGuids.h"

#include <unknwn.h>

namespace
{

template <typename Fn> Fn Export(HMODULE hModule, const char* pszName)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(hModule, pszName)));
}

} // namespace

std::wstring CMenuhookLibrary::GetBuildFolder()
{
    wchar_t sz[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, sz, MAX_PATH);
    const std::wstring str(sz, n);
    return str.substr(0, str.rfind(L'\\'));
}

CMenuhookLibrary::CMenuhookLibrary(const std::wstring& strFolder, bool bWithProgram)
{
    const std::wstring strBuild = GetBuildFolder();
    if (!::CopyFileW((strBuild + L"\\Menuhook.dll").c_str(),
                     (strFolder + L"\\Menuhook.dll").c_str(), FALSE))
        return;
    if (bWithProgram && !::CopyFileW((strBuild + L"\\Tagwright.exe").c_str(),
                                     (strFolder + L"\\Tagwright.exe").c_str(), FALSE))
        return;
    m_hModule = ::LoadLibraryW((strFolder + L"\\Menuhook.dll").c_str());
    if (!m_hModule)
        return;
    m_pfnGetClassObject = Export<GetClassObjectFn>(m_hModule, "DllGetClassObject");
    m_pfnCanUnloadNow = Export<CanUnloadNowFn>(m_hModule, "DllCanUnloadNow");
}

CMenuhookLibrary::~CMenuhookLibrary()
{
    if (m_hModule)
        ::FreeLibrary(m_hModule);
}

HRESULT CMenuhookLibrary::CreateInstance(REFIID riid, void** ppv) const
{
    IClassFactory* pFactory = nullptr;
    HRESULT hr = GetClassObject(CLSID_FileContextMenuExt, IID_IClassFactory,
                                reinterpret_cast<void**>(&pFactory));
    if (FAILED(hr))
        return hr;
    hr = pFactory->CreateInstance(nullptr, riid, ppv);
    pFactory->Release();
    return hr;
}
