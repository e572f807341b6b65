// CStandInRecord: how the stand-in Tagwright.exe was last started. Construct it before the
// start (it names the record file and the event in the environment the start inherits), then
// Wait for the stand-in to have written its record.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CStandInRecord
{
public:
    explicit CStandInRecord(const std::wstring& strRecordFile);
    ~CStandInRecord();
    CStandInRecord(const CStandInRecord&) = delete;
    CStandInRecord& operator=(const CStandInRecord&) = delete;

    // TRUE once the stand-in has signalled (within the given milliseconds); then the command
    // line and the arguments after the program's own name are known.
    bool Wait(DWORD dwMilliseconds = 60000);
    // Whether a start happened, without waiting.
    bool HasStarted() const;

    const std::wstring& GetCommandLine() const { return m_strCommandLine; }
    const std::vector<std::wstring>& GetArguments() const { return m_arguments; }

private:
    std::wstring m_strRecordFile;
    HANDLE m_hEvent = nullptr;
    std::wstring m_strCommandLine;
    std::vector<std::wstring> m_arguments;
};
