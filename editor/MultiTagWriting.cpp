#include "editor/MultiTagWriting.h"

#include "base/FileException.h"
#include "browser/DiagnosticMessages.h"
#include "browser/FileChange.h"
#include "editor/ActionList.h"
#include "res/StringTable.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"

#include <algorithm>
#include <exception>
#include <memory>

using Tags::CMpegFile;
using Tags::ID3v1Tag::CID3v1;
using Tags::ID3v2Tag::CID3v2;

namespace
{

enum FIELD_CHANGE
{
    CHANGE_KEEP,
    CHANGE_COPY,
    CHANGE_STORE
};

FIELD_CHANGE GetTextChange(const CString& strValue)
{
    if (strValue == CString(PLACEHOLDER_KEEP))
        return CHANGE_KEEP;
    if (strValue == CString(PLACEHOLDER_COPY_FROM_ID3V2))
        return CHANGE_COPY;
    return CHANGE_STORE;
}

FIELD_CHANGE GetGenreChange(int nEntry)
{
    if (nEntry == GENRE_ENTRY_KEEP)
        return CHANGE_KEEP;
    if (nEntry == GENRE_ENTRY_COPY_FROM_ID3V2)
        return CHANGE_COPY;
    return CHANGE_STORE;
}

void StoreField(ID3V1_FIELD field, const tagID3V1VALUES& values, CID3v1& tag)
{
    switch (field)
    {
    case FIELD_TITLE:
        tag.SetTitle(values.strTitle);
        break;
    case FIELD_ALBUM:
        tag.SetAlbum(values.strAlbum);
        break;
    case FIELD_ARTIST:
        tag.SetArtist(values.strArtist);
        break;
    case FIELD_GENRE:
        tag.m_nGenre = GetGenreToStore(values.nGenre);
        break;
    case FIELD_YEAR:
        tag.SetYear(values.strYear);
        break;
    case FIELD_TRACK:
    {
        // The dialog refuses such a track before it writes; the byte on disk could not hold it.
        int nTrack = 0;
        if (CheckTrackNumber(values.strTrack, nTrack))
            tag.m_nTrack = nTrack;
        break;
    }
    case FIELD_COMMENT:
        tag.SetComment(values.strComment);
        break;
    }
}

// The ID3v2 tag the fields are copied from; null when there is none to copy from: not read
// from the file and left empty by the actions (an empty tag is not written either).
const CID3v2* GetCopySource(CMpegFile& file)
{
    const CID3v2* pTag = file.GetID3v2(FALSE);
    if (!pTag || (!file.HasID3v2() && pTag->IsEmpty()))
        return nullptr;
    return pTag;
}

} // namespace

tagID3V1VALUES GetFieldsToKeep()
{
    const CString strKeep(PLACEHOLDER_KEEP);
    tagID3V1VALUES values;
    values.strTitle = values.strAlbum = values.strArtist = strKeep;
    values.strYear = values.strTrack = values.strComment = strKeep;
    values.nGenre = GENRE_ENTRY_KEEP;
    return values;
}

void ApplyActions(CMpegFile& file, const CActionList& actions)
{
    CID3v2* pTag = file.GetID3v2(TRUE);
    for (const auto& pAction : actions)
    {
        if (pAction->m_nType == ACTION_KEEP)
            continue;
        if (pAction->m_nType == ACTION_SET && !pAction->m_pFrame)
            continue;
        pTag->DeleteFramesByID(pAction->m_szFrameID);
        if (pAction->m_nType == ACTION_SET)
            pTag->AddTail(pAction->m_pFrame->Clone());
    }
}

void ApplyID3v1Fields(CMpegFile& file, const tagID3V1VALUES& values)
{
    CID3v1& tag = *file.GetID3v1(TRUE);
    const CID3v2* pSource = GetCopySource(file);
    for (int i = 0; i < ID3V1_FIELD_COUNT; ++i)
    {
        const auto field = static_cast<ID3V1_FIELD>(i);
        const FIELD_CHANGE change = field == FIELD_GENRE
                                        ? GetGenreChange(values.nGenre)
                                        : GetTextChange(*GetFieldText(field, values));
        if (change == CHANGE_STORE)
        {
            StoreField(field, values, tag);
        }
        else if (change == CHANGE_COPY && pSource)
        {
            const int nTrack = tag.m_nTrack;
            if (!CopyFieldFromID3v2(field, *pSource, tag))
                tag.m_nTrack = nTrack;
        }
    }
}

namespace
{

// The write of one open file; a rewrite may be left waiting in the file's batch.
FILE_WRITE_RESULT WriteOpenFile(CMpegFile& file, const CActionList& actions,
                                const tagID3V1VALUES& values, const tagTAGOPTIONS& options,
                                const Tags::tagFILESTAMP* pExpected)
{
    try
    {
        if (pExpected && !(file.GetFileStamp() == *pExpected))
            return FILE_CHANGED;
    }
    catch (const CFileException&)
    {
        return FILE_CHANGED;
    }
    try
    {
        if (options.bWriteID3v2)
            ApplyActions(file, actions);
        if (options.bWriteID3v1)
            ApplyID3v1Fields(file, values);
    }
    catch (const std::exception&)
    {
        // Memory running out while copying frames: this file is left alone, the batch goes on.
        return FILE_SAVE_FAILED;
    }
    if (!WriteFileTags(file, options.bWriteID3v1, options.bWriteID3v2, options.nWriteVersion,
                       options.nTextEncoding))
        return FILE_SAVE_FAILED;
    return FILE_WRITTEN;
}

// A file of the loop whose result is reported once its batch is committed.
struct tagWRITTEN
{
    size_t nIndex = 0;
    FILE_WRITE_RESULT result = FILE_WRITTEN;
    std::unique_ptr<CMpegFile> pFile; // while its rewrite waits
    int nUndoKey = -1;
};

void ReportWritten(std::vector<tagWRITTEN>& arrWritten, Tags::CRewriteBatch& batch,
                   const std::vector<CString>& arrFiles, CDiagnosticMessages* pDiag,
                   CFileChange* pChange)
{
    const std::vector<Tags::CFileEx*> arrFailed = batch.Commit();
    for (tagWRITTEN& written : arrWritten)
    {
        if (written.pFile &&
            std::find(arrFailed.begin(), arrFailed.end(), written.pFile.get()) != arrFailed.end())
            written.result = FILE_SAVE_FAILED;
        else if (written.pFile && pChange && written.nUndoKey >= 0)
            pChange->TagsWritten(written.nUndoKey, *written.pFile);
        if (written.result != FILE_WRITTEN && pDiag)
            pDiag->AddMessage(Res::FormatResourceString(GetWriteFailureMessage(written.result),
                                                        arrFiles[written.nIndex]));
    }
    arrWritten.clear();
}

} // namespace

FILE_WRITE_RESULT WriteTagsToFile(const CString& strPath, const CActionList& actions,
                                  const tagID3V1VALUES& values, const tagTAGOPTIONS& options,
                                  const Tags::tagFILESTAMP* pExpected)
{
    CMpegFile file(strPath, FALSE);
    if (file.m_hFile == INVALID_HANDLE_VALUE)
        return FILE_OPEN_FAILED;
    return WriteOpenFile(file, actions, values, options, pExpected);
}

UINT GetWriteFailureMessage(FILE_WRITE_RESULT result)
{
    switch (result)
    {
    case FILE_OPEN_FAILED:
    case FILE_CHANGED:
        return Res::IDS_FAILED_READING_FILE;
    case FILE_SAVE_FAILED:
        return Res::IDS_FAILED_WRITING_FILE;
    case FILE_WRITTEN:
        break;
    }
    return 0;
}

BOOL WriteTagsToFiles(const std::vector<CString>& arrFiles, const CActionList& actions,
                      const tagID3V1VALUES& values, const tagTAGOPTIONS& options, IBusyState& busy,
                      CDiagnosticMessages* pDiag, const std::vector<Tags::tagFILESTAMP>* pStamps,
                      CFileChange* pChange)
{
    const auto provider = [&actions, &values](size_t, tagFILECHANGES& changes)
    {
        changes.pActions = &actions;
        changes.pValues = &values;
        return TRUE;
    };
    return WriteTagsToFiles(arrFiles, provider, options, busy, pDiag, pStamps, pChange);
}

BOOL WriteTagsToFiles(const std::vector<CString>& arrFiles, const FileChangesProvider& provider,
                      const tagTAGOPTIONS& options, IBusyState& busy, CDiagnosticMessages* pDiag,
                      const std::vector<Tags::tagFILESTAMP>* pStamps, CFileChange* pChange)
{
    CBusyScope scope(busy);
    std::vector<tagWRITTEN> arrWritten;
    // Declared after the files, so that on every way out it commits before they close.
    Tags::CRewriteBatch batch;
    const CString strWriting = Res::LoadResourceString(Res::IDS_WRITING_FILE);
    BOOL bDone = TRUE;
    for (size_t i = 0; i < arrFiles.size(); ++i)
    {
        const CString& strPath = arrFiles[i];
        if (busy.IsCancelRequested())
        {
            bDone = FALSE;
            break;
        }
        tagFILECHANGES changes;
        if (!provider(i, changes) || !changes.pActions || !changes.pValues)
            continue;
        busy.SetStatusText(FormatString(strWriting, strPath));
        const Tags::tagFILESTAMP* pExpected =
            pStamps && i < pStamps->size() ? &(*pStamps)[i] : nullptr;
        tagWRITTEN written;
        written.nIndex = i;
        auto pFile = std::make_unique<CMpegFile>(strPath, FALSE);
        if (pFile->m_hFile == INVALID_HANDLE_VALUE)
        {
            written.result = FILE_OPEN_FAILED;
        }
        else
        {
            pFile->m_pBatch = &batch;
            written.nUndoKey = pChange ? pChange->KeepTags(*pFile) : -1;
            written.result =
                WriteOpenFile(*pFile, *changes.pActions, *changes.pValues, options, pExpected);
            if (pFile->IsRewriteWaiting())
                written.pFile = std::move(pFile);
            else if (written.result == FILE_WRITTEN && written.nUndoKey >= 0)
                pChange->TagsWritten(written.nUndoKey, *pFile);
        }
        pFile.reset();
        arrWritten.push_back(std::move(written));
        if (batch.GetCount() == 0 || static_cast<int>(arrWritten.size()) >= REWRITE_BATCH_SIZE)
            ReportWritten(arrWritten, batch, arrFiles, pDiag, pChange);
    }
    // What was written before Esc stays written.
    ReportWritten(arrWritten, batch, arrFiles, pDiag, pChange);
    return bDone;
}
