#include "BenchFiles.h"

#include "base/Path.h"
#include "browser/FileAssocData.h"
#include "tags/file/RenderBuffer.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/frames/CommentsFrame.h"
#include "tags/id3v2/frames/PictureFrame.h"
#include "tags/id3v2/frames/TextFrame.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <system_error>

#include <stdlib.h>

namespace Bench
{

namespace
{

constexpr UINT FRAME_LENGTH = 417; // MPEG-1 Layer III, 128 kbit/s, 44100 Hz, no padding
constexpr UINT AUDIO_FRAMES = 40;
constexpr UINT PICTURE_SIZE = 8192;

void PutBigEndian(std::vector<BYTE>& out, size_t nOffset, UINT n)
{
    out[nOffset] = static_cast<BYTE>(n >> 24);
    out[nOffset + 1] = static_cast<BYTE>(n >> 16);
    out[nOffset + 2] = static_cast<BYTE>(n >> 8);
    out[nOffset + 3] = static_cast<BYTE>(n);
}

// A Xing frame (frames, bytes, table of contents, quality) and the audio frames it counts.
std::vector<BYTE> MakeAudio()
{
    std::vector<BYTE> audio(static_cast<size_t>(FRAME_LENGTH) * (AUDIO_FRAMES + 1), 0);
    for (UINT i = 0; i <= AUDIO_FRAMES; ++i)
    {
        const size_t n = static_cast<size_t>(i) * FRAME_LENGTH;
        audio[n] = 0xFF;
        audio[n + 1] = 0xFB;
        audio[n + 2] = 0x90;
        audio[n + 3] = 0x40; // joint stereo
        for (UINT j = 4 + 32; i > 0 && j < FRAME_LENGTH; ++j)
            audio[n + j] = static_cast<BYTE>((i * 31 + j * 7) & 0xFF);
    }
    // After the 32 bytes of side information of a stereo MPEG-1 frame.
    const size_t nXing = 4 + 32;
    std::memcpy(&audio[nXing], "Xing", 4);
    PutBigEndian(audio, nXing + 4, 0x0F);
    PutBigEndian(audio, nXing + 8, AUDIO_FRAMES);
    PutBigEndian(audio, nXing + 12, static_cast<UINT>(audio.size()));
    for (UINT i = 0; i < 100; ++i)
        audio[nXing + 16 + i] = static_cast<BYTE>(i * 255 / 100);
    PutBigEndian(audio, nXing + 116, 78);
    return audio;
}

void AddText(Tags::ID3v2Tag::CID3v2& tag, const char* szID, const std::string& strText)
{
    auto pFrame = std::make_unique<Tags::ID3v2Tag::CTextFrame>(szID, 3);
    pFrame->SetValues({CString::FromUtf8(strText)});
    tag.AddTail(std::move(pFrame));
}

// ID3v2.3 with the usual text frames, a comment and a front cover; then the audio; then ID3v1.
std::vector<BYTE> MakeFile(int nIndex, const std::vector<BYTE>& audio,
                           const std::vector<BYTE>& picture, UINT nPadding)
{
    const std::string strNumber = std::to_string(nIndex);
    Tags::ID3v2Tag::CID3v2 tag;
    tag.m_pHeader->m_nVersion = 3;
    tag.m_nTextEncoding = 1;
    AddText(tag, "TIT2", "Title of track " + strNumber);
    AddText(tag, "TPE1", "Artist " + std::to_string(nIndex % 97));
    AddText(tag, "TPE2", "Album Artist " + std::to_string(nIndex % 97));
    AddText(tag, "TALB", "Album " + std::to_string(nIndex % 211));
    AddText(tag, "TYER", std::to_string(1970 + nIndex % 50));
    AddText(tag, "TRCK", std::to_string(nIndex % 20 + 1) + "/20");
    AddText(tag, "TCON", "Rock");
    AddText(tag, "TCOM", "Composer " + std::to_string(nIndex % 13));
    auto pComment = std::make_unique<Tags::ID3v2Tag::CCommentsFrame>();
    pComment->m_strText = CString::FromUtf8("Comment of track " + strNumber);
    tag.AddTail(std::move(pComment));
    auto pPicture = std::make_unique<Tags::ID3v2Tag::CPictureFrame>();
    pPicture->m_strMimeType = u"image/jpeg";
    pPicture->SetData(picture.data(), static_cast<UINT>(picture.size()));
    tag.AddTail(std::move(pPicture));

    Tags::CRenderBuffer buffer;
    tag.Render(buffer);
    if (nPadding != Tags::ID3v2Tag::CID3v2::PADDING_SIZE)
    {
        // A tag keeps the size its header holds when its frames fit: render again into the
        // size that leaves the padding asked for.
        const UINT nFrames = tag.m_pHeader->m_nSize - Tags::ID3v2Tag::CID3v2::PADDING_SIZE;
        tag.m_pHeader->m_nSize = nFrames + std::max(nPadding, 1u);
        buffer.Empty();
        tag.Render(buffer);
    }
    buffer.Append(audio.data(), static_cast<UINT>(audio.size()));

    Tags::ID3v1Tag::CID3v1 v1;
    v1.SetTitle(CString::FromUtf8("Title of track " + strNumber));
    v1.SetArtist(CString::FromUtf8("Artist " + std::to_string(nIndex % 97)));
    v1.SetAlbum(CString::FromUtf8("Album " + std::to_string(nIndex % 211)));
    v1.SetYear(CString::FromUtf8(std::to_string(1970 + nIndex % 50)));
    v1.SetComment(u"Comment");
    v1.m_nTrack = nIndex % 20 + 1;
    v1.m_nGenre = 17;
    v1.Render(buffer);
    return buffer.Detach();
}

} // namespace

CBenchFolder::CBenchFolder()
{
    std::string strTemplate =
        (std::filesystem::temp_directory_path() / "tagwright-bench-XXXXXX").string();
    if (!::mkdtemp(strTemplate.data()))
    {
        std::perror("mkdtemp");
        std::exit(1);
    }
    m_path = strTemplate;
}

CBenchFolder::~CBenchFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string TrackName(int nIndex)
{
    char szName[32];
    std::snprintf(szName, sizeof(szName), "track%05d.mp3", nIndex);
    return szName;
}

void WriteTrackFiles(const std::filesystem::path& folder, int nFiles, UINT nPadding)
{
    const std::vector<BYTE> audio = MakeAudio();
    std::vector<BYTE> picture(PICTURE_SIZE);
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<BYTE>((i * 131 + 7) & 0xFF);
    picture[0] = 0xFF;
    picture[1] = 0xD8;
    for (int i = 0; i < nFiles; ++i)
    {
        const std::filesystem::path path = folder / TrackName(i);
        const std::vector<BYTE> bytes = MakeFile(i, audio, picture, nPadding);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out)
        {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            std::exit(1);
        }
    }
}

void LinkTrackFiles(const std::filesystem::path& source, int nSourceFiles,
                    const std::filesystem::path& folder, int nNames)
{
    for (int i = 0; i < nNames; ++i)
    {
        std::error_code ec;
        std::filesystem::create_hard_link(source / TrackName(i % nSourceFiles),
                                          folder / TrackName(i), ec);
        if (ec)
        {
            std::fprintf(stderr, "cannot link %s: %s\n", (folder / TrackName(i)).c_str(),
                         ec.message().c_str());
            std::exit(1);
        }
    }
}

std::vector<CString> TrackPaths(const std::filesystem::path& folder, int nFiles)
{
    std::vector<CString> paths;
    paths.reserve(static_cast<size_t>(nFiles));
    for (int i = 0; i < nFiles; ++i)
        paths.push_back(Path::FromNative((folder / TrackName(i)).native()));
    return paths;
}

void LoadRecords(const std::vector<CString>& paths, tagSUM& sum)
{
    for (const CString& strPath : paths)
    {
        CFileAssocData record;
        if (!record.Load(strPath))
        {
            std::fprintf(stderr, "cannot load %s\n", strPath.ToUtf8().c_str());
            std::exit(1);
        }
        sum.nText +=
            static_cast<size_t>(record.m_strTitle.GetLength() + record.m_strArtist.GetLength() +
                                record.m_strAlbum.GetLength() + record.m_strYear.GetLength() +
                                record.m_strComment.GetLength() + record.m_strGenre.GetLength());
        sum.nNumbers += record.m_nTrack + record.m_nLength + record.m_nBitrate +
                        record.m_nSampleRate + record.m_nChannels + record.m_nSize;
    }
}

} // namespace Bench
