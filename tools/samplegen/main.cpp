// samplegen <folder>: writes a handful of short MPEG audio files with a variety of tags (ID3v1,
// ID3v1.1, ID3v2.3 and 2.4 in several text encodings, none at all) for trying the program out.
// The audio is silence in valid MPEG frames; the tags are written by the tag library itself.
#include "base/File.h"
#include "base/Path.h"
#include "base/String.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/ID3v2Header.h"
#include "tags/id3v2/frames/CommentsFrame.h"
#include "tags/id3v2/frames/TextFrame.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace
{

struct tagSAMPLE
{
    const char* pszFile;
    const char16_t* pszTitle;
    const char16_t* pszArtist;
    const char16_t* pszAlbum;
    const char16_t* pszYear;
    int nTrack;
    int nGenre;
    const char16_t* pszComment;
    int nID3v2Version; // 0: no ID3v2 tag
    int nTextEncoding; // of the ID3v2 text frames
    bool bID3v1;
    int nBitrateIndex; // MPEG-1 Layer III: 9 = 128 kbit/s, 5 = 64, 11 = 192
    bool bMono;
    int nFrames;
};

const tagSAMPLE kSamples[] = {
    {"01 Morning Light.mp3", u"Morning Light", u"The Lanterns", u"Harbour Songs", u"2004", 1, 12,
     u"Recorded live", 3, 1, true, 9, false, 380},
    {"02 Tidewater.mp3", u"Tidewater", u"The Lanterns", u"Harbour Songs", u"2004", 2, 12, u"", 3, 1,
     true, 9, false, 260},
    {"03 Paper Boats.mp3", u"Paper Boats", u"The Lanterns", u"Harbour Songs", u"2004", 3, 12, u"",
     4, 3, false, 11, false, 300},
    {"Allegro in D.mp3", u"Allegro in D", u"Ensemble Nord", u"Chamber Works", u"1998", 4, 32,
     u"Second movement", 4, 1, true, 11, false, 420},
    {"Caf\u00e9 du Matin.mp3", u"Caf\u00e9 du Matin", u"\u00c9lodie Marchand", u"Rues", u"2011", 7,
     13, u"Chanson", 3, 1, false, 9, false, 240},
    {"Nocturne.mp3", u"Nocturne", u"\u0410\u043d\u043d\u0430 \u0411\u0435\u043b\u043e\u0432\u0430",
     u"\u041d\u043e\u0447\u044c", u"2019", 2, 24, u"", 4, 3, false, 9, false, 200},
    {"old_tape_07.mp3", u"Old Tape Seven", u"Unknown Artist", u"Attic Finds", u"1987", 7, 0,
     u"ID3v1.1 only", 0, 0, true, 5, true, 500},
    {"radio_interview.mp3", u"Radio Interview", u"Station KQ", u"", u"2022", 0, 101, u"Spoken word",
     3, 0, false, 5, true, 350},
    {"untagged_field_recording.mp3", nullptr, nullptr, nullptr, nullptr, 0, 255, nullptr, 0, 0,
     false, 9, false, 180},
    {"Voyage (Extended Mix).mp3", u"Voyage (Extended Mix)", u"Northbound", u"Voyage EP", u"2016", 1,
     52, u"Club edit", 4, 1, true, 11, false, 460},
};

// MPEG-1 Layer III frames of silence at 44100 Hz.
std::string MakeAudio(int nBitrateIndex, bool bMono, int nFrames)
{
    static const int kBitrates[] = {0,   32,  40,  48,  56,  64,  80, 96,
                                    112, 128, 160, 192, 224, 256, 320};
    const int nLength = 144 * kBitrates[nBitrateIndex] * 1000 / 44100;
    std::string frame(static_cast<size_t>(nLength), '\0');
    frame[0] = static_cast<char>(0xFF);
    frame[1] = static_cast<char>(0xFB);
    frame[2] = static_cast<char>(nBitrateIndex << 4);
    frame[3] = static_cast<char>(bMono ? 0xC0 : 0x40);
    std::string audio;
    for (int i = 0; i < nFrames; ++i)
        audio += frame;
    return audio;
}

void AddText(Tags::ID3v2Tag::CID3v2& tag, const char* szID, const char16_t* pszText)
{
    if (!pszText || !*pszText)
        return;
    auto pFrame = std::make_unique<Tags::ID3v2Tag::CTextFrame>(szID, tag.m_pHeader->m_nVersion);
    pFrame->SetValues({CString(pszText)});
    tag.AddTail(std::move(pFrame));
}

bool WriteSample(const std::filesystem::path& folder, const tagSAMPLE& sample)
{
    // Names are UTF-8, as the file system's names are here.
    const std::filesystem::path path = folder / std::string(sample.pszFile);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << MakeAudio(sample.nBitrateIndex, sample.bMono, sample.nFrames);
        if (!out)
            return false;
    }
    if (!sample.pszTitle)
        return true;

    Tags::CMpegFile file(Path::FromNative(path.native()), FALSE);
    UINT nFlags = 0;
    if (sample.nID3v2Version)
    {
        Tags::ID3v2Tag::CID3v2* pTag = file.GetID3v2(TRUE);
        pTag->m_pHeader->m_nVersion = sample.nID3v2Version;
        pTag->m_nTextEncoding = sample.nTextEncoding;
        AddText(*pTag, "TIT2", sample.pszTitle);
        AddText(*pTag, "TPE1", sample.pszArtist);
        AddText(*pTag, "TALB", sample.pszAlbum);
        AddText(*pTag, sample.nID3v2Version == 4 ? "TDRC" : "TYER", sample.pszYear);
        if (sample.nTrack)
        {
            const std::u16string track =
                CString::FromUtf8(std::to_string(sample.nTrack)).GetString();
            AddText(*pTag, "TRCK", track.c_str());
        }
        if (sample.pszComment && *sample.pszComment)
        {
            auto pComment = std::make_unique<Tags::ID3v2Tag::CCommentsFrame>();
            pComment->m_strText = CString(sample.pszComment);
            pTag->AddTail(std::move(pComment));
        }
        nFlags |= Tags::TAG_ID3V2;
    }
    if (sample.bID3v1)
    {
        Tags::ID3v1Tag::CID3v1* pTag = file.GetID3v1(TRUE);
        pTag->SetTitle(CString(sample.pszTitle));
        pTag->SetArtist(CString(sample.pszArtist));
        pTag->SetAlbum(CString(sample.pszAlbum));
        pTag->SetYear(CString(sample.pszYear));
        pTag->SetComment(CString(sample.pszComment));
        pTag->m_nTrack = sample.nTrack;
        pTag->m_nGenre = sample.nGenre;
        nFlags |= Tags::TAG_ID3V1;
    }
    try
    {
        return file.SaveTags(nFlags) != FALSE;
    }
    catch (const CFileException&)
    {
        return false;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: samplegen <folder>\n");
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    int nFailed = 0;
    for (const tagSAMPLE& sample : kSamples)
    {
        if (!WriteSample(folder, sample))
        {
            std::fprintf(stderr, "samplegen: could not write %s\n", sample.pszFile);
            ++nFailed;
        }
    }
    return nFailed ? 1 : 0;
}
