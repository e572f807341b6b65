#include "tags/file/MpegFile.h"

#include "tags/file/RenderBuffer.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/ID3v2Header.h"
#include "tags/mpeg/MpegProperties.h"

#include <cerrno>
#include <new>

namespace Tags
{

namespace
{
constexpr ULONGLONG FOUR_GIB = 0x100000000ULL;
constexpr UINT ID3V1_SIZE = 128;
} // namespace

CMpegFile::CMpegFile(const CString& strPath, BOOL bReadProperties)
{
    m_bCloseOnDelete = TRUE;
    if (OpenFile(strPath, nullptr))
        ReadTags(bReadProperties);
}

CMpegFile::~CMpegFile()
{
    // The tags go before the file is closed, ID3v1 first.
    m_pID3v1.reset();
    m_pID3v2.reset();
    m_pProperties.reset();
}

void CMpegFile::ReadTags(BOOL bReadProperties)
{
    try
    {
        auto pID3v2 = std::make_unique<ID3v2Tag::CID3v2>();
        m_bHasID3v2 = pID3v2->Read(*this);
        if (m_bHasID3v2)
        {
            m_nID3v2Size = pID3v2->GetLengthInFile();
            m_pID3v2 = std::move(pID3v2);
        }
    }
    catch (const CFileException&)
    {
        ForgetUnreadableID3v2();
    }
    catch (const std::bad_alloc&)
    {
        // A tag larger than the memory there is to read it into.
        ForgetUnreadableID3v2();
    }

    try
    {
        auto pID3v1 = std::make_unique<ID3v1Tag::CID3v1>();
        m_bHasID3v1 = pID3v1->Read(*this);
        if (m_bHasID3v1)
            m_pID3v1 = std::move(pID3v1);
    }
    catch (const CFileException&)
    {
        m_pID3v1.reset();
        m_bHasID3v1 = FALSE;
        // Whether a block is there is unknown: a save could append a second one.
        m_bReadOnly = TRUE;
    }

    if (!bReadProperties)
        return;
    try
    {
        const ULONGLONG nLength = GetLength();
        const UINT nStart = m_bHasID3v2 ? m_nID3v2Size : 0;
        ULONGLONG nEnd = m_bHasID3v1 ? nLength - ID3V1_SIZE : nLength;
        // Files of 4 GiB or more lie outside the model; measure what the model can address.
        if (nEnd >= FOUR_GIB)
            nEnd = FOUR_GIB - 1;
        m_pProperties = std::make_unique<CMpegProperties>(*this, nStart, static_cast<UINT>(nEnd));
    }
    catch (const CFileException&)
    {
        // A read error while measuring leaves the file without properties rather than
        // failing the open.
        m_pProperties.reset();
    }
    catch (const std::bad_alloc&)
    {
        m_pProperties.reset();
    }
}

void CMpegFile::ForgetUnreadableID3v2()
{
    m_pID3v2.reset();
    m_bHasID3v2 = FALSE;
    m_nID3v2Size = 0;
    // The tag is there but unknown: a save would put a second one before it, or cut it short.
    m_bReadOnly = TRUE;
}

ID3v1Tag::CID3v1* CMpegFile::GetID3v1(BOOL bCreate)
{
    if (!m_pID3v1 && bCreate)
        m_pID3v1 = std::make_unique<ID3v1Tag::CID3v1>();
    return m_pID3v1.get();
}

ID3v2Tag::CID3v2* CMpegFile::GetID3v2(BOOL bCreate)
{
    if (!m_pID3v2 && bCreate)
        m_pID3v2 = std::make_unique<ID3v2Tag::CID3v2>();
    return m_pID3v2.get();
}

CAudioProperties* CMpegFile::GetAudioProperties()
{
    return m_pProperties.get();
}

BOOL CMpegFile::CanWrite() const
{
    return m_hFile != INVALID_HANDLE_VALUE && !m_bReadOnly && GetLength() < FOUR_GIB;
}

BOOL CMpegFile::IsID3v2Overlong() const
{
    if (!m_bHasID3v2)
        return FALSE;
    // A block is there only in a file that holds one.
    const ULONGLONG nBeforeBlock = GetLength() - (m_bHasID3v1 ? ID3V1_SIZE : 0);
    return m_nID3v2Size > nBeforeBlock;
}

BOOL CMpegFile::SaveTags(UINT nFlags)
{
    if (!CanWrite())
        return FALSE;
    if ((nFlags & TAG_ID3V2) && IsID3v2Overlong())
        return FALSE;
    CheckPathLeadsHere();

    const bool bID3v2 = (nFlags & TAG_ID3V2) != 0;
    const bool bID3v1 = (nFlags & TAG_ID3V1) != 0;
    const bool bWriteID3v2 = bID3v2 && m_pID3v2 && !m_pID3v2->IsEmpty();
    const bool bWriteID3v1 = bID3v1 && m_pID3v1 && !m_pID3v1->IsEmpty();
    CRenderBuffer head;
    if (bWriteID3v2)
        m_pID3v2->Render(head);
    const UINT nOldHead = m_bHasID3v2 ? m_nID3v2Size : 0;
    const bool bHeadMoves = bID3v2 && head.GetLength() != nOldHead;
    const bool bBlockChanges = bID3v1 && (bWriteID3v1 || m_bHasID3v1);

    if (bHeadMoves && bBlockChanges)
    {
        // The audio moves anyway: both tags go into the one rewrite, so that no moment leaves
        // the file with one tag new and the other old.
        CRenderBuffer block;
        if (bWriteID3v1)
            m_pID3v1->Render(block);
        ReplaceHeadAndTail(head.GetData(), head.GetLength(), nOldHead, block.GetData(),
                           block.GetLength(), m_bHasID3v1 ? ID3V1_SIZE : 0);
        SetID3v2Written(bWriteID3v2, head.GetLength());
        if (bWriteID3v1)
            m_bHasID3v1 = TRUE;
        else
        {
            m_pID3v1.reset();
            m_bHasID3v1 = FALSE;
        }
        return TRUE;
    }

    // Otherwise each tag is written where it stands, the ID3v2 tag first; when the block then
    // fails, the tag written in place is put back as it was.
    Bytes oldHead;
    if (bWriteID3v2)
    {
        if (!bHeadMoves && bBlockChanges)
            oldHead = ReadHead(nOldHead);
        ReplaceHead(head.GetData(), head.GetLength(), nOldHead);
        SetID3v2Written(TRUE, head.GetLength());
    }
    else if (bID3v2)
    {
        RemoveID3v2();
    }
    if (bID3v1)
    {
        try
        {
            if (bWriteID3v1)
                WriteID3v1();
            else
                RemoveID3v1();
        }
        catch (const CFileException&)
        {
            if (!oldHead.empty())
            {
                try
                {
                    SeekToBegin();
                    Write(oldHead.data(), static_cast<UINT>(oldHead.size()));
                }
                catch (const CFileException&)
                {
                    // The first failure is the one to report.
                }
            }
            throw;
        }
    }
    return TRUE;
}

CMpegFile::Bytes CMpegFile::ReadHead(UINT nLength)
{
    Bytes bytes(nLength);
    SeekToBegin();
    if (Read(bytes.data(), nLength) != nLength)
        CFileException::ThrowOsError(EIO, GetFilePath());
    return bytes;
}

void CMpegFile::SetID3v2Written(BOOL bWritten, UINT nLength)
{
    if (bWritten)
    {
        m_bHasID3v2 = TRUE;
        m_nID3v2Size = nLength;
    }
    else
    {
        m_pID3v2.reset();
        m_bHasID3v2 = FALSE;
        m_nID3v2Size = 0;
    }
}

void CMpegFile::WriteID3v1()
{
    CRenderBuffer block;
    m_pID3v1->Render(block);
    const ULONGLONG nLength = GetLength();
    const ULONGLONG nPosition = m_bHasID3v1 ? nLength - ID3V1_SIZE : nLength;

    // Keep what is there so a failed write can be undone: the old block, or the old length.
    BYTE old[ID3V1_SIZE] = {};
    if (m_bHasID3v1)
    {
        Seek(static_cast<LONGLONG>(nPosition), CFile::begin);
        if (Read(old, ID3V1_SIZE) != ID3V1_SIZE)
            CFileException::ThrowOsError(EIO, GetFilePath());
    }
    try
    {
        Seek(static_cast<LONGLONG>(nPosition), CFile::begin);
        Write(block.GetData(), block.GetLength());
    }
    catch (const CFileException&)
    {
        try
        {
            if (m_bHasID3v1)
            {
                Seek(static_cast<LONGLONG>(nPosition), CFile::begin);
                Write(old, ID3V1_SIZE);
            }
            else
            {
                SetLength(nLength);
            }
        }
        catch (const CFileException&)
        {
            // The first failure is the one to report.
        }
        throw;
    }
    m_bHasID3v1 = TRUE;
}

BOOL CMpegFile::RemoveTags(UINT nFlags)
{
    if (!CanWrite())
        return FALSE;
    if ((nFlags & TAG_ID3V2) && IsID3v2Overlong())
        return FALSE;
    CheckPathLeadsHere();
    if ((nFlags & TAG_ID3V2) && (nFlags & TAG_ID3V1) && m_bHasID3v2 && m_bHasID3v1)
    {
        // One rewrite for both, as in SaveTags.
        ReplaceHeadAndTail(nullptr, 0, m_nID3v2Size, nullptr, 0, ID3V1_SIZE);
        SetID3v2Written(FALSE, 0);
        m_pID3v1.reset();
        m_bHasID3v1 = FALSE;
        return TRUE;
    }
    if (nFlags & TAG_ID3V2)
        RemoveID3v2();
    if (nFlags & TAG_ID3V1)
        RemoveID3v1();
    return TRUE;
}

void CMpegFile::RemoveID3v2()
{
    if (m_bHasID3v2)
    {
        RemoveRange(0, m_nID3v2Size);
        SetID3v2Written(FALSE, 0);
    }
}

void CMpegFile::RemoveID3v1()
{
    if (m_bHasID3v1)
    {
        SetLength(GetLength() - ID3V1_SIZE);
        m_pID3v1.reset();
        m_bHasID3v1 = FALSE;
    }
}

} // namespace Tags
