#include "browser/FileChange.h"

#include "base/FileException.h"
#include "base/Path.h"
#include "browser/DiagnosticMessages.h"
#include "browser/FileMove.h"
#include "res/StringTable.h"
#include "tags/file/MpegFile.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <new>
#include <random>
#include <system_error>

namespace
{

constexpr UINT ID3V1_BLOCK = 128;
// How much of the audio beside the tags is compared after a write, to be sure the write moved
// nothing but the tags.
constexpr ULONGLONG SAMPLE_LENGTH = 64;

using Bytes = std::vector<BYTE>;

// nLength bytes from nPosition; throws CFileException when the file ends before.
Bytes ReadAt(CFile& file, ULONGLONG nPosition, ULONGLONG nLength)
{
    Bytes bytes(static_cast<size_t>(nLength));
    file.Seek(static_cast<LONGLONG>(nPosition), CFile::begin);
    size_t nDone = 0;
    while (nDone < bytes.size())
    {
        const UINT nRead =
            file.Read(bytes.data() + nDone,
                      static_cast<UINT>(std::min<size_t>(bytes.size() - nDone, 1u << 30)));
        if (nRead == 0)
            throw CFileException(CFileException::endOfFile, -1, file.GetFilePath());
        nDone += nRead;
    }
    return bytes;
}

// FNV-1a over the head and the tail: a fingerprint of what a write left, not a defence.
ULONGLONG Fingerprint(const Bytes& head, const Bytes& tail)
{
    ULONGLONG nHash = 14695981039346656037ULL;
    auto add = [&nHash](const Bytes& bytes)
    {
        for (const BYTE b : bytes)
            nHash = (nHash ^ b) * 1099511628211ULL;
        nHash = (nHash ^ 0xFF) * 1099511628211ULL;
    };
    add(head);
    add(tail);
    return nHash;
}

void AddMessage(CDiagnosticMessages* pDiag, UINT nID, const CString& strPath)
{
    if (pDiag)
        pDiag->AddMessage(Res::FormatResourceString(nID, strPath));
}

} // namespace

struct CFileChange::tagKEPTBYTES
{
    Bytes bytes;
    BOOL bInFile = FALSE;
    ULONGLONG nOffset = 0;
    ULONGLONG nLength = 0;
};

struct CFileChange::tagFILEENTRY
{
    CString strPath;    // where the change left the file
    CString strOldPath; // a rename: its name before
    BOOL bTags = FALSE; // its tags were kept ...
    BOOL bDone = FALSE; // ... and written, or it was renamed
    tagKEPTBYTES head;
    tagKEPTBYTES tail;
    ULONGLONG nOldLength = 0;
    Bytes firstAudio; // the bytes after the old head ...
    Bytes lastAudio;  // ... and before the old tail
    ULONGLONG nNewHead = 0;
    ULONGLONG nNewTail = 0;
    ULONGLONG nFingerprint = 0;
    Tags::tagFILESTAMP stampBefore;
    Tags::tagFILESTAMP stamp; // after the change
};

CFileChange::CFileChange(const CString& strName, tagUNDOBUDGET* pBudget,
                         const CString& strSpillFolder)
    : m_strName(strName), m_pBudget(pBudget), m_strSpillFolder(strSpillFolder)
{
}

CFileChange::~CFileChange()
{
    for (auto& pEntry : m_entries)
    {
        Release(pEntry->head);
        Release(pEntry->tail);
    }
    if (m_pSpill)
    {
        m_pSpill.reset();
        std::error_code error;
        std::filesystem::remove(std::filesystem::path(Path::ToNative(m_strSpillPath)), error);
    }
}

int CFileChange::GetFileCount() const
{
    return static_cast<int>(std::count_if(m_entries.begin(), m_entries.end(),
                                          [](const auto& pEntry) { return pEntry->bDone; }));
}

BOOL CFileChange::Keep(const Bytes& bytes, tagKEPTBYTES& kept)
{
    kept.nLength = bytes.size();
    const bool bFits = !m_pBudget || m_pBudget->nUsed + bytes.size() <= m_pBudget->nBound;
    if (bFits || m_strSpillFolder.IsEmpty() || bytes.empty())
    {
        kept.bytes = bytes;
        if (m_pBudget)
            m_pBudget->nUsed += bytes.size();
        return TRUE;
    }
    try
    {
        if (!m_pSpill)
        {
            // A name no other change of this or another instance uses; the clock and the
            // object's address vary it also where the random device does not.
            std::random_device random;
            const ULONGLONG nName =
                ((static_cast<ULONGLONG>(random()) << 32) ^ random()) ^
                static_cast<ULONGLONG>(
                    std::chrono::steady_clock::now().time_since_epoch().count()) ^
                reinterpret_cast<std::uintptr_t>(this);
            m_strSpillPath = m_strSpillFolder + FormatString(u"undo-%016llx.tmp", nName);
            auto pSpill = std::make_unique<CFile>();
            if (!pSpill->Open(m_strSpillPath,
                              CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive))
                return FALSE;
            m_pSpill = std::move(pSpill);
        }
        m_pSpill->Seek(static_cast<LONGLONG>(m_nSpillLength), CFile::begin);
        m_pSpill->Write(bytes.data(), static_cast<UINT>(bytes.size()));
        kept.bInFile = TRUE;
        kept.nOffset = m_nSpillLength;
        m_nSpillLength += bytes.size();
        return TRUE;
    }
    catch (const CFileException&)
    {
        return FALSE;
    }
}

BOOL CFileChange::Load(const tagKEPTBYTES& kept, Bytes& bytes) const
{
    if (!kept.bInFile)
    {
        bytes = kept.bytes;
        return TRUE;
    }
    try
    {
        bytes = ReadAt(*m_pSpill, kept.nOffset, kept.nLength);
        return TRUE;
    }
    catch (const CFileException&)
    {
        return FALSE;
    }
}

void CFileChange::Release(tagKEPTBYTES& kept)
{
    if (!kept.bInFile && m_pBudget)
        m_pBudget->nUsed -= std::min<ULONGLONG>(m_pBudget->nUsed, kept.bytes.size());
    kept.bytes = Bytes();
}

int CFileChange::KeepTags(Tags::CMpegFile& file)
{
    if (file.m_hFile == INVALID_HANDLE_VALUE)
        return -1;
    try
    {
        auto pEntry = std::make_unique<tagFILEENTRY>();
        pEntry->strPath = file.GetFilePath();
        pEntry->bTags = TRUE;
        pEntry->stampBefore = file.GetFileStamp();
        const ULONGLONG nPosition = file.GetPosition();
        const ULONGLONG nLength = file.GetLength();
        const ULONGLONG nTail = file.HasID3v1() && nLength >= ID3V1_BLOCK ? ID3V1_BLOCK : 0;
        const ULONGLONG nHead =
            file.HasID3v2() ? std::min<ULONGLONG>(file.GetID3v2Size(), nLength - nTail) : 0;
        const ULONGLONG nAudio = nLength - nTail - nHead;
        const ULONGLONG nSample = std::min(nAudio, SAMPLE_LENGTH);
        const Bytes head = ReadAt(file, 0, nHead);
        const Bytes tail = ReadAt(file, nLength - nTail, nTail);
        pEntry->firstAudio = ReadAt(file, nHead, nSample);
        pEntry->lastAudio = ReadAt(file, nLength - nTail - nSample, nSample);
        file.Seek(static_cast<LONGLONG>(nPosition), CFile::begin);
        pEntry->nOldLength = nLength;
        if (!Keep(head, pEntry->head) || !Keep(tail, pEntry->tail))
        {
            Release(pEntry->head);
            Release(pEntry->tail);
            return -1;
        }
        m_entries.push_back(std::move(pEntry));
        return static_cast<int>(m_entries.size()) - 1;
    }
    catch (const CFileException&)
    {
        return -1;
    }
    catch (const std::bad_alloc&)
    {
        return -1;
    }
}

void CFileChange::TagsWritten(int nKey, Tags::CMpegFile& file)
{
    if (nKey < 0 || nKey >= static_cast<int>(m_entries.size()))
        return;
    tagFILEENTRY& entry = *m_entries[static_cast<size_t>(nKey)];
    if (!entry.bTags || entry.bDone)
        return;
    try
    {
        const ULONGLONG nPosition = file.GetPosition();
        const ULONGLONG nLength = file.GetLength();
        const ULONGLONG nTail = file.HasID3v1() && nLength >= ID3V1_BLOCK ? ID3V1_BLOCK : 0;
        const ULONGLONG nAudio = entry.nOldLength - entry.head.nLength - entry.tail.nLength;
        // The write replaced the tags and moved the audio as a whole; anything else and the
        // file is not one this change could put back.
        if (nLength < nTail + nAudio)
            return;
        const ULONGLONG nHead = nLength - nTail - nAudio;
        if (ReadAt(file, nHead, entry.firstAudio.size()) != entry.firstAudio ||
            ReadAt(file, nLength - nTail - entry.lastAudio.size(), entry.lastAudio.size()) !=
                entry.lastAudio)
            return;
        entry.nFingerprint =
            Fingerprint(ReadAt(file, 0, nHead), ReadAt(file, nLength - nTail, nTail));
        entry.stamp = file.GetFileStamp();
        entry.strPath = file.GetFilePath();
        entry.nNewHead = nHead;
        entry.nNewTail = nTail;
        entry.bDone = TRUE;
        file.Seek(static_cast<LONGLONG>(nPosition), CFile::begin);
    }
    catch (const CFileException&)
    {
    }
    catch (const std::bad_alloc&)
    {
    }
    if (!entry.bDone)
    {
        Release(entry.head);
        Release(entry.tail);
    }
}

void CFileChange::FileRenamed(const CString& strOldPath, const CString& strNewPath)
{
    try
    {
        Tags::CFileEx file;
        if (!file.OpenFile(strNewPath))
            return;
        auto pEntry = std::make_unique<tagFILEENTRY>();
        pEntry->strPath = strNewPath;
        pEntry->strOldPath = strOldPath;
        pEntry->stamp = file.GetFileStamp();
        pEntry->stampBefore = pEntry->stamp;
        pEntry->bDone = TRUE;
        m_entries.push_back(std::move(pEntry));
    }
    catch (const CFileException&)
    {
    }
    catch (const std::bad_alloc&)
    {
    }
}

BOOL CFileChange::UndoTags(tagFILEENTRY& entry, CDiagnosticMessages* pDiag,
                           Tags::tagFILESTAMP& stampNow)
{
    Tags::CFileEx file;
    if (!file.OpenFile(entry.strPath))
    {
        AddMessage(pDiag, Res::IDS_UNDO_FILE_CHANGED, entry.strPath);
        return FALSE;
    }
    if (file.m_bReadOnly)
    {
        AddMessage(pDiag, Res::IDS_FAILED_WRITING_FILE, entry.strPath);
        return FALSE;
    }
    try
    {
        const ULONGLONG nLength = file.GetLength();
        if (!(file.GetFileStamp() == entry.stamp) || nLength < entry.nNewHead + entry.nNewTail)
        {
            AddMessage(pDiag, Res::IDS_UNDO_FILE_CHANGED, entry.strPath);
            return FALSE;
        }
        const Bytes newHead = ReadAt(file, 0, entry.nNewHead);
        const Bytes newTail = ReadAt(file, nLength - entry.nNewTail, entry.nNewTail);
        if (Fingerprint(newHead, newTail) != entry.nFingerprint)
        {
            AddMessage(pDiag, Res::IDS_UNDO_FILE_CHANGED, entry.strPath);
            return FALSE;
        }
        Bytes oldHead;
        Bytes oldTail;
        if (!Load(entry.head, oldHead) || !Load(entry.tail, oldTail))
        {
            AddMessage(pDiag, Res::IDS_FAILED_WRITING_FILE, entry.strPath);
            return FALSE;
        }
        const UINT nOldHead = static_cast<UINT>(oldHead.size());
        const UINT nNewHead = static_cast<UINT>(entry.nNewHead);
        if (nOldHead == nNewHead)
        {
            // Where the write left the lengths alone, the bytes go back in place, as the save
            // writes tags that fit.
            if (oldHead != newHead)
                file.ReplaceHead(oldHead.data(), nOldHead, nNewHead);
            if (oldTail != newTail)
            {
                file.CheckPathLeadsHere();
                file.Seek(static_cast<LONGLONG>(nLength - entry.nNewTail), CFile::begin);
                if (!oldTail.empty())
                    file.Write(oldTail.data(), static_cast<UINT>(oldTail.size()));
                file.SetLength(nLength - entry.nNewTail + oldTail.size());
            }
        }
        else if (oldTail == newTail)
        {
            file.ReplaceHead(oldHead.data(), nOldHead, nNewHead);
        }
        else
        {
            file.ReplaceHeadAndTail(oldHead.data(), nOldHead, nNewHead, oldTail.data(),
                                    static_cast<UINT>(oldTail.size()),
                                    static_cast<UINT>(entry.nNewTail));
        }
        stampNow = file.GetFileStamp();
        return TRUE;
    }
    catch (const CFileException&)
    {
        AddMessage(pDiag, Res::IDS_FAILED_WRITING_FILE, entry.strPath);
        return FALSE;
    }
    catch (const std::bad_alloc&)
    {
        AddMessage(pDiag, Res::IDS_FAILED_WRITING_FILE, entry.strPath);
        return FALSE;
    }
}

BOOL CFileChange::UndoRename(tagFILEENTRY& entry, CDiagnosticMessages* pDiag)
{
    BOOL bSame = FALSE;
    try
    {
        Tags::CFileEx file;
        bSame = file.OpenFile(entry.strPath) && file.GetFileStamp() == entry.stamp;
    }
    catch (const CFileException&)
    {
        bSame = FALSE;
    }
    if (!bSame)
    {
        AddMessage(pDiag, Res::IDS_UNDO_FILE_CHANGED, entry.strPath);
        return FALSE;
    }
    LONG lError = 0;
    if (!MoveFileNoReplace(entry.strPath, entry.strOldPath, &lError))
    {
        if (pDiag)
            pDiag->AddMessage(
                Res::FormatResourceString(Res::IDS_RENAME_FAILED, entry.strPath, entry.strOldPath) +
                u" " + GetOsErrorText(lError));
        return FALSE;
    }
    return TRUE;
}

void CFileChange::Restamp(const tagUNDONEFILE& undone)
{
    for (auto& pEntry : m_entries)
    {
        if (pEntry->bDone && pEntry->strPath == undone.strNewPath &&
            pEntry->stamp == undone.stampBefore)
            pEntry->stamp = undone.stampNow;
    }
}

BOOL CFileChange::Undo(IBusyState& busy, CDiagnosticMessages* pDiag,
                       std::vector<tagUNDONEFILE>& arrUndone)
{
    CBusyScope scope(busy);
    const CString strUndoing = Res::LoadResourceString(Res::IDS_UNDOING_FILE);
    while (!m_entries.empty())
    {
        tagFILEENTRY& entry = *m_entries.back();
        if (entry.bDone)
        {
            if (busy.IsCancelRequested())
                return FALSE;
            busy.SetStatusText(FormatString(strUndoing, entry.strPath));
            Tags::tagFILESTAMP stampNow = entry.stamp;
            if (entry.bTags ? UndoTags(entry, pDiag, stampNow) : UndoRename(entry, pDiag))
                arrUndone.push_back({entry.strPath, entry.bTags ? entry.strPath : entry.strOldPath,
                                     entry.stampBefore, stampNow});
        }
        Release(entry.head);
        Release(entry.tail);
        m_entries.pop_back();
    }
    return TRUE;
}
