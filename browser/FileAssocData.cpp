#include "browser/FileAssocData.h"

#include "base/File.h"
#include "base/FileTime.h"
#include "base/Path.h"
#include "browser/Collator.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/mpeg/AudioProperties.h"

#include <ctime>

namespace
{

template <typename T> int CompareNumbers(T a, T b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

} // namespace

BOOL CFileAssocData::Load(const CString& strPath)
{
    m_strTitle.Empty();
    m_strAlbum.Empty();
    m_strArtist.Empty();
    m_strYear.Empty();
    m_strComment.Empty();
    m_nTrack = 0;
    m_strGenre.Empty();
    m_strTag.Empty();

    Tags::CMpegFile file(strPath, TRUE);
    // The file object holds the full form of the path, whether or not it opened.
    m_strFileName = Path::GetName(file.GetFilePath());
    m_strFolder = file.GetFileFolder();
    if (file.m_hFile == INVALID_HANDLE_VALUE)
        return FALSE;

    try
    {
        m_nSize = static_cast<LONGLONG>(file.GetLength());
    }
    catch (const CFileException&)
    {
        // An open descriptor that cannot be measured: keep the old size.
    }
    FILETIME ftCreated = {};
    FILETIME ftAccessed = {};
    FILETIME ftModified = {};
    if (::GetFileTime(file.m_hFile, &ftCreated, &ftAccessed, &ftModified))
    {
        m_ftCreated = ftCreated;
        m_ftAccessed = ftAccessed;
        m_ftModified = ftModified;
    }

    const Tags::CTagBase* pSource = nullptr;
    if (const Tags::ID3v2Tag::CID3v2* pID3v2 = file.GetID3v2(FALSE))
    {
        const int nVersion = pID3v2->m_pHeader ? pID3v2->m_pHeader->m_nVersion : 0;
        m_strTag.Format(pID3v2->m_bValid ? u"ID3v2.%d" : u"!ID3v2.%d", nVersion);
        pSource = pID3v2;
    }
    if (const Tags::ID3v1Tag::CID3v1* pID3v1 = file.GetID3v1(FALSE))
    {
        if (!pSource)
            pSource = pID3v1;
        m_strTag = CString(u"ID3v1 ") + m_strTag;
    }
    if (pSource)
    {
        m_strTitle = pSource->GetTitle();
        m_strAlbum = pSource->GetAlbum();
        m_strArtist = pSource->GetArtist();
        m_strYear = pSource->GetYear();
        m_strComment = pSource->GetComment();
        m_nTrack = pSource->GetTrack();
        m_strGenre = pSource->GetGenre();
    }

    if (const Tags::CAudioProperties* pProperties = file.GetAudioProperties())
    {
        m_nBitrate = pProperties->GetBitrate();
        m_nSampleRate = pProperties->GetSampleRate();
        m_nChannels = pProperties->GetChannels();
        m_nLength = pProperties->GetLength();
    }
    return TRUE;
}

BOOL CFileAssocData::Reload()
{
    return Load(GetFullPath());
}

CString CFileAssocData::GetFullPath() const
{
    CString strPath = m_strFolder;
    strPath += Path::chSeparator;
    strPath += m_strFileName;
    return strPath;
}

CString CFileAssocData::GetText(int nField) const
{
    switch (nField)
    {
    case FIELD_FILENAME:
        return m_strFileName;
    case FIELD_SIZE:
        return FormatFileSize(m_nSize);
    case FIELD_CREATED:
        return FormatFileTime(m_ftCreated);
    case FIELD_MODIFIED:
        return FormatFileTime(m_ftModified);
    case FIELD_ACCESSED:
        return FormatFileTime(m_ftAccessed);
    case FIELD_FOLDER:
        return m_strFolder;
    case FIELD_TAG:
        return m_strTag;
    case FIELD_TITLE:
        return m_strTitle;
    case FIELD_ARTIST:
        return m_strArtist;
    case FIELD_ALBUM:
        return m_strAlbum;
    case FIELD_GENRE:
        return m_strGenre;
    case FIELD_YEAR:
        return m_strYear;
    case FIELD_COMMENT:
        return m_strComment;
    case FIELD_TRACK:
        return FormatTrack(m_nTrack);
    case FIELD_LENGTH:
        return FormatLength(m_nLength);
    case FIELD_BITRATE:
        return FormatBitrate(m_nBitrate);
    case FIELD_SAMPLERATE:
        return FormatSampleRate(m_nSampleRate);
    case FIELD_CHANNELS:
        return FormatChannels(m_nChannels);
    default:
        return CString();
    }
}

const CString* CFileAssocData::GetSortText(int nField) const
{
    switch (nField)
    {
    case FIELD_FILENAME:
        return &m_strFileName;
    case FIELD_FOLDER:
        return &m_strFolder;
    case FIELD_TAG:
        return &m_strTag;
    case FIELD_TITLE:
        return &m_strTitle;
    case FIELD_ARTIST:
        return &m_strArtist;
    case FIELD_ALBUM:
        return &m_strAlbum;
    case FIELD_GENRE:
        return &m_strGenre;
    case FIELD_YEAR:
        return &m_strYear;
    case FIELD_COMMENT:
        return &m_strComment;
    default:
        return nullptr;
    }
}

int CFileAssocData::Compare(const CFileAssocData& a, const CFileAssocData& b, int nField,
                            const CCollator& collator)
{
    if (const CString* pText = a.GetSortText(nField))
        return collator.Compare(*pText, *b.GetSortText(nField));
    switch (nField)
    {
    case FIELD_SIZE:
        return CompareNumbers(a.m_nSize, b.m_nSize);
    case FIELD_CREATED:
        return CompareFileTime(a.m_ftCreated, b.m_ftCreated);
    case FIELD_MODIFIED:
        return CompareFileTime(a.m_ftModified, b.m_ftModified);
    case FIELD_ACCESSED:
        return CompareFileTime(a.m_ftAccessed, b.m_ftAccessed);
    case FIELD_TRACK:
        return CompareNumbers(a.m_nTrack, b.m_nTrack);
    case FIELD_LENGTH:
        return CompareNumbers(a.m_nLength, b.m_nLength);
    case FIELD_BITRATE:
        return CompareNumbers(a.m_nBitrate, b.m_nBitrate);
    case FIELD_SAMPLERATE:
        return CompareNumbers(a.m_nSampleRate, b.m_nSampleRate);
    case FIELD_CHANNELS:
        return CompareNumbers(a.m_nChannels, b.m_nChannels);
    default:
        return 0;
    }
}

CString CFileAssocData::FormatFileSize(LONGLONG nSize)
{
    if (nSize < 1024)
        return FormatString(u"%d Bytes", nSize);
    if (nSize < 1048576)
        return FormatString(u"%.2f KB", static_cast<float>(nSize) / 1024.0f);
    return FormatString(u"%.2f MB", static_cast<float>(nSize) / 1048576.0f);
}

CString CFileAssocData::FormatFileTime(const FILETIME& ft)
{
    const ULONGLONG n = FileTimeToUInt64(ft);
    // The largest value the framework converts; beyond it the conversion fails.
    if (n >= 0x8000000000000000ULL)
        return CString();
#ifdef _WIN32
    // The system's own two conversions, which cover 1601 on (the C library's stop at 1970).
    FILETIME ftLocal = {};
    SYSTEMTIME st = {};
    if (!::FileTimeToLocalFileTime(&ft, &ftLocal) || !::FileTimeToSystemTime(&ftLocal, &st))
        return CString();
    return FormatString(u"%02u/%02u/%04u %02u:%02u:%02u", static_cast<unsigned>(st.wMonth),
                        static_cast<unsigned>(st.wDay), static_cast<unsigned>(st.wYear),
                        static_cast<unsigned>(st.wHour), static_cast<unsigned>(st.wMinute),
                        static_cast<unsigned>(st.wSecond));
#else
    constexpr LONGLONG nEpochDelta = 11644473600LL; // seconds from 1601 to 1970
    const std::time_t t =
        static_cast<std::time_t>(static_cast<LONGLONG>(n / 10000000ULL) - nEpochDelta);
    std::tm tmLocal = {};
    if (!::localtime_r(&t, &tmLocal))
        return CString();
    // Local times before 1601 lie outside the framework's calendar.
    if (tmLocal.tm_year + 1900 < 1601)
        return CString();
    return FormatString(
        u"%02u/%02u/%04u %02u:%02u:%02u", static_cast<unsigned>(tmLocal.tm_mon + 1),
        static_cast<unsigned>(tmLocal.tm_mday), static_cast<unsigned>(tmLocal.tm_year + 1900),
        static_cast<unsigned>(tmLocal.tm_hour), static_cast<unsigned>(tmLocal.tm_min),
        static_cast<unsigned>(tmLocal.tm_sec));
#endif
}

CString CFileAssocData::FormatTrack(int nTrack)
{
    return nTrack > 0 ? FormatString(u"%d", nTrack) : CString();
}

CString CFileAssocData::FormatLength(int nLength)
{
    return FormatString(u"%02d:%02d", nLength / 60, nLength % 60);
}

CString CFileAssocData::FormatBitrate(int nBitrate)
{
    return FormatString(u"%dKbps", nBitrate);
}

CString CFileAssocData::FormatSampleRate(int nSampleRate)
{
    return FormatString(u"%dHz", nSampleRate);
}

CString CFileAssocData::FormatChannels(int nChannels)
{
    return FormatString(u"%d", nChannels);
}

int CFileAssocData::CompareFileTime(const FILETIME& a, const FILETIME& b)
{
    return CompareNumbers(FileTimeToUInt64(a), FileTimeToUInt64(b));
}
