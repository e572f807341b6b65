#include "editor/RemoveTags.h"

#include "browser/DiagnosticMessages.h"
#include "browser/FileAssocData.h"
#include "browser/FileChange.h"
#include "editor/TagWriting.h"
#include "res/StringTable.h"
#include "tags/file/MpegFile.h"

std::vector<CFileAssocData*> RemoveRecordTags(const std::vector<CFileAssocData*>& arrRecords,
                                              UINT nFlags, CDiagnosticMessages* pDiag,
                                              CFileChange* pChange)
{
    std::vector<CFileAssocData*> arrChanged;
    for (CFileAssocData* pRecord : arrRecords)
    {
        if (!pRecord)
            continue;
        const CString strPath = pRecord->GetFullPath();
        BOOL bRemoved = FALSE;
        {
            Tags::CMpegFile file(strPath, FALSE);
            const int nKey = pChange && file.m_hFile != INVALID_HANDLE_VALUE && nFlags != 0
                                 ? pChange->KeepTags(file)
                                 : -1;
            bRemoved = file.m_hFile != INVALID_HANDLE_VALUE && TryRemoveTags(file, nFlags);
            if (bRemoved && nKey >= 0)
                pChange->TagsWritten(nKey, file);
        }
        if (!bRemoved)
        {
            if (pDiag)
                pDiag->AddMessage(Res::FormatResourceString(Res::IDS_FAILED_WRITING_FILE, strPath));
            continue;
        }
        // A record whose file cannot be read again keeps its place with emptied fields.
        pRecord->Reload();
        arrChanged.push_back(pRecord);
    }
    return arrChanged;
}
