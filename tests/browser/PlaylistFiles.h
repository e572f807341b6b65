// Audio files, a list with a busy host that records what it is told, and file helpers for the
// playlist tests.
#pragma once

#include "app/BusyHost.h"
#include "app/BusyState.h"
#include "base/String.h"
#include "browser/DiagnosticMessages.h"
#include "browser/FileList.h"
#include "fixtures/FileBytes.h"
#include "fixtures/Mp3Builder.h"
#include "fixtures/TempDir.h"
#include "res/StringTable.h"

#include <filesystem>
#include <string>
#include <vector>

namespace PlaylistFiles
{

using Fixtures::Bytes;
using Fixtures::CMp3Builder;

// An audio file of a few frames with an ID3v1 tag carrying the artist and title.
inline void WriteAudio(const std::filesystem::path& path, const std::string& strArtist = "",
                       const std::string& strTitle = "")
{
    std::filesystem::create_directories(path.parent_path());
    CMp3Builder b;
    b.AddFrames(CMp3Builder::FrameSpec(), 8);
    if (!strArtist.empty() || !strTitle.empty())
    {
        CMp3Builder::Id3v1Fields f;
        f.m_strArtist = strArtist;
        f.m_strTitle = strTitle;
        b.AddId3v1(f);
    }
    b.WriteTo(path);
}

inline std::string TextOf(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

inline void WriteText(const std::filesystem::path& path, const std::string& strText)
{
    Fixtures::WriteFileBytes(path, Fixtures::BytesOf(strText));
}

// Records the status texts and busy changes; Esc arrives at the nth poll when asked.
class CRecordingHost : public IBusyHost
{
public:
    void SetBusyMode(BOOL bBusy) override { m_arrBusy.push_back(bBusy); }
    void SetStatusText(const CString& strText) override { m_arrStatus.push_back(strText); }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    BOOL PollEscape() override
    {
        ++m_nPolls;
        return m_nEscapeAtPoll > 0 && m_nPolls >= m_nEscapeAtPoll;
    }

    std::vector<BOOL> m_arrBusy;
    std::vector<CString> m_arrStatus;
    int m_nPolls = 0;
    int m_nEscapeAtPoll = 0; // 0: never
};

// A list with its busy state and diagnostics.
struct tagLISTSETUP
{
    CRecordingHost host;
    CBusyState busy{&host};
    CFileList list{busy};
    CDiagnosticMessages diag;

    // The listed files' full paths in list order.
    std::vector<CString> Paths() const
    {
        std::vector<CString> arr;
        for (int i = 0; i < list.GetCount(); ++i)
            arr.push_back(list.GetRecord(i)->GetFullPath());
        return arr;
    }
};

inline CString Msg(UINT nID, const CString& strPath)
{
    return Res::FormatResourceString(nID, strPath);
}

} // namespace PlaylistFiles
