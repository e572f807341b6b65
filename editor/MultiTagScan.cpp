#include "editor/MultiTagScan.h"

#include "base/FileException.h"
#include "editor/ActionList.h"
#include "res/StringTable.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v2/ID3v2.h"

SCAN_RESULT ScanFrameIDs(const std::vector<CString>& arrFiles, CActionList& actions,
                         IBusyState& busy, CString* pFailedPath,
                         std::vector<Tags::tagFILESTAMP>* pStamps)
{
    CBusyScope scope(busy);
    for (const CString& strPath : arrFiles)
    {
        if (busy.IsCancelRequested())
            return SCAN_CANCELLED;
        busy.SetStatusText(Res::FormatResourceString(Res::IDS_READING_FILE, strPath));
        Tags::CMpegFile file(strPath, FALSE);
        if (file.m_hFile == INVALID_HANDLE_VALUE)
        {
            if (pFailedPath)
                *pFailedPath = strPath;
            return SCAN_OPEN_FAILED;
        }
        if (pStamps)
        {
            try
            {
                pStamps->push_back(file.GetFileStamp());
            }
            catch (const CFileException&)
            {
                // An open file that cannot be looked at is no file to edit.
                if (pFailedPath)
                    *pFailedPath = strPath;
                return SCAN_OPEN_FAILED;
            }
        }
        const Tags::ID3v2Tag::CID3v2* pTag = file.GetID3v2(FALSE);
        if (!pTag)
            continue;
        for (const auto& pFrame : pTag->m_frames)
        {
            if (!actions.FindAction(pFrame->GetID()))
                actions.AddAction(ACTION_KEEP, pFrame->GetID());
        }
    }
    return SCAN_DONE;
}
