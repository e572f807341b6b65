#include "app/ShellRegistration.h"

#include "base/Path.h"
#include "res/StringTable.h"

using namespace ShellIntegration;
using ShellRegistry::Failed;
using ShellRegistry::HR_INSUFFICIENT_BUFFER;
using ShellRegistry::HR_OK;

namespace
{

// A key text as the fixed buffer holds it: one that does not fit fails the step.
HRESULT KeyText(const CString& strText, CString& strKey)
{
    if (strText.GetLength() >= ShellRegistry::TEXT_BUFFER)
    {
        strKey.Empty();
        return HR_INSUFFICIENT_BUFFER;
    }
    strKey = strText;
    return HR_OK;
}

CString ClassKey()
{
    return FormatString(u"CLSID\\%s", CLASS_ID);
}

} // namespace

CShellRegistration::CShellRegistration(IShellRegistry& registry, BOOL bOtherInstance)
    : m_registry(registry), m_bOtherInstance(bOtherInstance)
{
}

BOOL CShellRegistration::GetProgramFile(const char16_t* pszFile, CString& strPath)
{
    strPath.Empty();
    CString strProgram;
    if (!m_registry.GetProgramPath(strProgram))
        return FALSE;
    int nCut = -1;
    for (int i = 0; i < strProgram.GetLength(); ++i)
    {
        if (Path::IsSeparator(strProgram[i]))
            nCut = i;
    }
    const CString strFile = strProgram.Left(nCut + 1) + pszFile;
    // The path buffer of the platform, terminator included.
    if (strFile.GetLength() >= Path::GetMaxPath())
        return FALSE;
    strPath = strFile;
    return TRUE;
}

CString CShellRegistration::ResolveFileClass(const CString& strType)
{
    if (strType.IsEmpty() || strType[0] != u'.')
        return strType;
    CString strClass;
    if (Failed(m_registry.GetClassesRootDefault(strType, strClass)) || strClass.IsEmpty())
        return strType;
    return strClass;
}

HRESULT CShellRegistration::AddHandler(const CString& strType)
{
    CString strKey;
    const HRESULT hr = KeyText(
        FormatString(u"%s\\shellex\\ContextMenuHandlers\\%s", ResolveFileClass(strType), CLASS_ID),
        strKey);
    if (Failed(hr))
        return hr;
    return m_registry.SetClassesRootValue(strKey, nullptr, HANDLER_VALUE);
}

HRESULT CShellRegistration::DeleteHandler(const CString& strType)
{
    CString strKey;
    const HRESULT hr = KeyText(
        FormatString(u"%s\\shellex\\ContextMenuHandlers\\%s", ResolveFileClass(strType), CLASS_ID),
        strKey);
    if (Failed(hr))
        return hr;
    return m_registry.DeleteKeyTree(ERegistryRoot::ClassesRoot, strKey);
}

BOOL CShellRegistration::RegisterContextMenuServer(BOOL bAddHandlers)
{
    CString strLibrary;
    if (!GetProgramFile(LIBRARY_FILE, strLibrary))
        return FALSE;

    if (m_registry.IsWow64())
    {
        // The 64-bit Explorer reads the 64-bit view, which a 32-bit program does not write.
        CString strBridge;
        if (GetProgramFile(BRIDGE_FILE, strBridge))
            m_registry.StartProgram(strBridge, FormatString(u"-RegInprocServer \"%s\" %s \"%s\" %s",
                                                            strLibrary, CLASS_ID, CLASS_DESCRIPTION,
                                                            THREADING_MODEL));
    }
    else
    {
        CString strClassKey;
        CString strServerKey;
        if (Failed(KeyText(ClassKey(), strClassKey)) ||
            Failed(KeyText(ClassKey() + u"\\InprocServer32", strServerKey)))
            return FALSE;
        if (Failed(m_registry.SetClassesRootValue(strClassKey, nullptr, CLASS_DESCRIPTION)) ||
            Failed(m_registry.SetClassesRootValue(strServerKey, nullptr, strLibrary.GetString())) ||
            Failed(
                m_registry.SetClassesRootValue(strServerKey, u"ThreadingModel", THREADING_MODEL)))
            return FALSE;
    }

    // Every type is attempted; one failure makes the whole result a failure.
    HRESULT hrAll = HR_OK;
    for (const char16_t* pszType : HOOKED_TYPES)
        hrAll |= bAddHandlers ? AddHandler(pszType) : DeleteHandler(pszType);
    return Failed(hrAll) ? FALSE : TRUE;
}

BOOL CShellRegistration::UnregisterContextMenuServer()
{
    if (m_bOtherInstance)
    {
        m_registry.ShowMessage(Res::LoadResourceString(Res::IDS_ALREADY_RUNNING));
        return FALSE;
    }

    HRESULT hrAll = HR_OK;
    if (m_registry.IsWow64())
    {
        CString strBridge;
        if (GetProgramFile(BRIDGE_FILE, strBridge))
            m_registry.StartProgram(strBridge, FormatString(u"-UnregInprocServer %s", CLASS_ID));
        else
            hrAll |= ShellRegistry::HR_FAIL;
    }
    else
    {
        hrAll |= m_registry.DeleteKeyTree(ERegistryRoot::ClassesRoot, ClassKey());
    }
    for (const char16_t* pszType : HOOKED_TYPES)
        hrAll |= DeleteHandler(pszType);
    hrAll |= m_registry.DeleteKeyTree(ERegistryRoot::CurrentUser, SETTINGS_KEY);
    return Failed(hrAll) ? FALSE : TRUE;
}
