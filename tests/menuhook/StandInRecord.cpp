#include "StandInRecord.h"

CStandInRecord::CStandInRecord(const std::wstring& strRecordFile) : m_strRecordFile(strRecordFile)
{
    const std::wstring strEvent = L"Local\\TagwrightStandIn-" +
                                  std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(reinterpret_cast<ULONG_PTR>(this));
    m_hEvent = ::CreateEventW(nullptr, TRUE, FALSE, strEvent.c_str());
    ::DeleteFileW(m_strRecordFile.c_str());
    ::SetEnvironmentVariableW(L"TW_STANDIN_RECORD", m_strRecordFile.c_str());
    ::SetEnvironmentVariableW(L"TW_STANDIN_EVENT", strEvent.c_str());
}

CStandInRecord::~CStandInRecord()
{
    ::SetEnvironmentVariableW(L"TW_STANDIN_RECORD", nullptr);
    ::SetEnvironmentVariableW(L"TW_STANDIN_EVENT", nullptr);
    if (m_hEvent)
        ::CloseHandle(m_hEvent);
}

bool CStandInRecord::HasStarted() const
{
    return m_hEvent && ::WaitForSingleObject(m_hEvent, 0) == WAIT_OBJECT_0;
}

bool CStandInRecord::Wait(DWORD dwMilliseconds)
{
    if (!m_hEvent || ::WaitForSingleObject(m_hEvent, dwMilliseconds) != WAIT_OBJECT_0)
        return false;
    const HANDLE hFile = ::CreateFileW(m_strRecordFile.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    std::wstring strText;
    wchar_t buffer[1024];
    DWORD nRead = 0;
    while (::ReadFile(hFile, buffer, sizeof(buffer), &nRead, nullptr) && nRead > 0)
        strText.append(buffer, nRead / sizeof(wchar_t));
    ::CloseHandle(hFile);
    size_t nLine = strText.find(L'\n');
    m_strCommandLine = strText.substr(0, nLine);
    m_arguments.clear();
    while (nLine != std::wstring::npos)
    {
        const size_t nNext = strText.find(L'\n', nLine + 1);
        m_arguments.push_back(strText.substr(
            nLine + 1, nNext == std::wstring::npos ? std::wstring::npos : nNext - nLine - 1));
        nLine = nNext;
    }
    return true;
}
