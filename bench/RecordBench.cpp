// Record load benchmark: a folder of tagged MP3 files is read into file records, and the same
// fields and audio properties are read with TagLib, warm cache, best of several passes.
//
//   record_bench [files] [passes]

#include "base/Path.h"
#include "base/String.h"
#include "browser/FileAssocData.h"
#include "tags/CommentsFrame.h"
#include "tags/ID3v1.h"
#include "tags/ID3v2.h"
#include "tags/PictureFrame.h"
#include "tags/RenderBuffer.h"
#include "tags/TextFrame.h"

#include <taglib/fileref.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace
{

using Clock = std::chrono::steady_clock;

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
                           const std::vector<BYTE>& picture)
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

class CBenchFolder
{
public:
    CBenchFolder()
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
    ~CBenchFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    CBenchFolder(const CBenchFolder&) = delete;
    CBenchFolder& operator=(const CBenchFolder&) = delete;

    const std::filesystem::path& GetPath() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// What both readers produce per file, so that neither side can skip its work.
struct tagSUM
{
    size_t nText = 0;
    long long nNumbers = 0;
};

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

void LoadTagLib(const std::vector<std::string>& paths, tagSUM& sum)
{
    for (const std::string& strPath : paths)
    {
        TagLib::MPEG::File file(strPath.c_str(), true, TagLib::AudioProperties::Average);
        const TagLib::Tag* pTag = file.tag();
        const TagLib::AudioProperties* pProperties = file.audioProperties();
        if (!file.isValid() || !pTag || !pProperties)
        {
            std::fprintf(stderr, "TagLib cannot read %s\n", strPath.c_str());
            std::exit(1);
        }
        sum.nText += pTag->title().toWString().size() + pTag->artist().toWString().size() +
                     pTag->album().toWString().size() + std::to_wstring(pTag->year()).size() +
                     pTag->comment().toWString().size() + pTag->genre().toWString().size();
        sum.nNumbers += static_cast<long long>(pTag->track()) + pProperties->lengthInSeconds() +
                        pProperties->bitrate() + pProperties->sampleRate() +
                        pProperties->channels() + file.length();
    }
}

template <typename F> double MicrosecondsPerFile(F&& load, size_t nFiles)
{
    const auto start = Clock::now();
    load();
    const auto elapsed = std::chrono::duration<double, std::micro>(Clock::now() - start);
    return elapsed.count() / static_cast<double>(nFiles);
}

} // namespace

int main(int argc, char** argv)
{
    const int nFiles = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    const int nPasses = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    CBenchFolder folder;
    std::printf("generating %d files in %s\n", nFiles, folder.GetPath().c_str());
    const std::vector<BYTE> audio = MakeAudio();
    std::vector<BYTE> picture(PICTURE_SIZE);
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<BYTE>((i * 131 + 7) & 0xFF);
    picture[0] = 0xFF;
    picture[1] = 0xD8;

    std::vector<CString> recordPaths;
    std::vector<std::string> tagLibPaths;
    for (int i = 0; i < nFiles; ++i)
    {
        char szName[32];
        std::snprintf(szName, sizeof(szName), "track%05d.mp3", i);
        const std::filesystem::path path = folder.GetPath() / szName;
        const std::vector<BYTE> bytes = MakeFile(i, audio, picture);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out)
        {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        recordPaths.push_back(Path::FromNative(path.native()));
        tagLibPaths.push_back(path.native());
    }

    // Both readers must see the same file.
    {
        CFileAssocData record;
        record.Load(recordPaths[0]);
        TagLib::MPEG::File file(tagLibPaths[0].c_str(), true, TagLib::AudioProperties::Average);
        const bool bSame = record.m_strTitle.ToUtf8() == file.tag()->title().to8Bit(true) &&
                           record.m_strArtist.ToUtf8() == file.tag()->artist().to8Bit(true) &&
                           record.m_nTrack == static_cast<int>(file.tag()->track()) &&
                           record.m_nSampleRate == file.audioProperties()->sampleRate() &&
                           record.m_nChannels == file.audioProperties()->channels() &&
                           record.m_nLength == file.audioProperties()->lengthInSeconds();
        std::printf("first file: tag %s, %d kbit/s, %d Hz, %d s; TagLib %d kbit/s, %d s%s\n",
                    record.m_strTag.ToUtf8().c_str(), record.m_nBitrate, record.m_nSampleRate,
                    record.m_nLength, file.audioProperties()->bitrate(),
                    file.audioProperties()->lengthInSeconds(),
                    bSame ? "" : " (THE READERS DISAGREE)");
    }

    // Warm the cache, then alternate the readers and keep each one's best pass.
    tagSUM sumRecords;
    tagSUM sumTagLib;
    LoadRecords(recordPaths, sumRecords);
    LoadTagLib(tagLibPaths, sumTagLib);
    double dBestRecords = 1e300;
    double dBestTagLib = 1e300;
    for (int nPass = 1; nPass <= nPasses; ++nPass)
    {
        const double dRecords =
            MicrosecondsPerFile([&] { LoadRecords(recordPaths, sumRecords); }, recordPaths.size());
        const double dTagLib =
            MicrosecondsPerFile([&] { LoadTagLib(tagLibPaths, sumTagLib); }, tagLibPaths.size());
        dBestRecords = std::min(dBestRecords, dRecords);
        dBestTagLib = std::min(dBestTagLib, dTagLib);
        std::printf("pass %d: tagwright %.2f us/file, taglib %.2f us/file\n", nPass, dRecords,
                    dTagLib);
    }
    std::printf("checksums: %zu/%lld, %zu/%lld\n", sumRecords.nText, sumRecords.nNumbers,
                sumTagLib.nText, sumTagLib.nNumbers);
    std::printf("record load: tagwright %.2f us/file, taglib %.2f us/file, ratio %.2f\n",
                dBestRecords, dBestTagLib, dBestRecords / dBestTagLib);
    return 0;
}
