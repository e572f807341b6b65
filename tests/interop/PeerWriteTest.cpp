// Tags written by the library, as ID3v2.3 and 2.4 in every text encoding it writes and with a
// frame of every class, read back by mutagen and ffprobe with the values written; the audio
// bytes stay exactly as they were.

#include "interop/InteropFiles.h"
#include "interop/PeerProcess.h"
#include "interop/TagRecords.h"

#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/frames/CommentsFrame.h"
#include "tags/id3v2/frames/PictureFrame.h"
#include "tags/id3v2/frames/PlayCounterFrame.h"
#include "tags/id3v2/frames/PopularimeterFrame.h"
#include "tags/id3v2/frames/PrivateFrame.h"
#include "tags/id3v2/frames/TermOfUseFrame.h"
#include "tags/id3v2/frames/TextFrame.h"
#include "tags/id3v2/frames/UnsynchronizedLyricsFrame.h"
#include "tags/id3v2/frames/UrlLinkFrame.h"
#include "tags/id3v2/frames/UserTextFrame.h"
#include "tags/id3v2/frames/UserUrlLinkFrame.h"

#include "fixtures/Mp3Builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

using namespace Tags;
using namespace Tags::ID3v1Tag;
using namespace Tags::ID3v2Tag;
using namespace Fixtures;
using namespace Interop;

namespace
{

CString U(const std::string& utf8)
{
    return CString::FromUtf8(utf8);
}

void SetLanguage(char (&szLanguage)[LANGUAGE_SIZE + 1], const char (&szValue)[LANGUAGE_SIZE + 1])
{
    std::memcpy(szLanguage, szValue, sizeof(szLanguage));
}

// ffprobe's "flat" output: one KEY="value" line per entry, the value escaped with backslashes,
// so that values with line breaks stay on their line.
std::map<std::string, std::string> ParseFlat(const std::string& text)
{
    std::map<std::string, std::string> values;
    size_t nStart = 0;
    while (nStart < text.size())
    {
        size_t nEnd = text.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = text.size();
        const std::string line = text.substr(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        const size_t nEq = line.find('=');
        if (nEq == std::string::npos)
            continue;
        std::string value = line.substr(nEq + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        {
            const std::string quoted = value.substr(1, value.size() - 2);
            value.clear();
            for (size_t i = 0; i < quoted.size(); ++i)
            {
                if (quoted[i] == '\\' && i + 1 < quoted.size())
                {
                    ++i;
                    value += quoted[i] == 'n' ? '\n' : quoted[i];
                }
                else
                    value += quoted[i];
            }
        }
        values[line.substr(0, nEq)] = value;
    }
    return values;
}

// What ffprobe reports for the entries asked for.
std::map<std::string, std::string> FfprobeEntries(const std::filesystem::path& path,
                                                  const std::string& entries,
                                                  const std::filesystem::path& home)
{
    const std::vector<std::string> args = {"ffprobe", "-v",  "error", "-show_entries",
                                           entries,   "-of", "flat",  path.string()};
    const tagPROCESSRESULT result = RunProcess(args, PeerEnvironment(home));
    EXPECT_EQ(result.nExitCode, 0) << Describe(args, result);
    return ParseFlat(result.strOut);
}

struct tagWRITECASE
{
    int nVersion;
    int nEncoding;
};

class LibraryWrittenTest : public ::testing::TestWithParam<tagWRITECASE>
{
protected:
    void SetUp() override
    {
        m_path = MakeLameFile(m_dir.GetPath(), "lame.mp3", 44100, 2, 25, {"-b", "128"});
        ASSERT_FALSE(m_path.empty());
        m_audio = CMp3Builder::AudioBytes(ReadFileBytes(m_path));
        ASSERT_GT(m_audio.size(), 30000u);
    }

    std::filesystem::path Home() const { return m_dir.PathOf("home"); }

    bool Latin() const { return GetParam().nEncoding == 0; }

    // Text for the case's encoding: Latin-1 only when the frames are written in encoding 0,
    // otherwise several scripts and a character beyond the 16-bit range.
    std::string Title() const
    {
        return Latin() ? "Ch\xC3\xA2teau \xC3\xA0 l'\xC3\xA9t\xC3\xA9"
                       : "Ch\xC3\xA2teau \xE2\x98\x83 \xE6\x97\xA5\xE6\x9C\xAC \xD0\x90 "
                         "\xF0\x9F\x8E\xB5";
    }
    std::string Artist2() const { return Latin() ? "Zw\xC3\xB6lf" : "\xCE\xA9mega"; }
    std::string YearID() const { return GetParam().nVersion == 4 ? "TDRC" : "TYER"; }

    static void AddText(CID3v2& tag, const char* szID, const std::vector<std::string>& values)
    {
        auto pFrame = std::make_unique<CTextFrame>(szID, 4);
        std::vector<CString> strings;
        for (const std::string& value : values)
            strings.push_back(U(value));
        pFrame->SetValues(strings);
        tag.AddTail(std::move(pFrame));
    }

    // One frame of every class, several values in one frame, two pictures: one whose
    // description the ANSI code page holds and one whose description it does not.
    void FillTag(CID3v2& tag) const
    {
        AddText(tag, "TIT2", {Title()});
        AddText(tag, "TPE1", {"First Artist", Artist2()});
        AddText(tag, "TALB", {"The Album"});
        AddText(tag, "TRCK", {"3/12"});
        AddText(tag, "TPOS", {"1/2"});
        AddText(tag, YearID().c_str(), {"2004"});
        AddText(tag, "TCON", {"Rock"});
        AddText(tag, "TCOM", {"Composer"});

        auto pUser = std::make_unique<CUserTextFrame>();
        pUser->SetValues({U("Mood"), U(Latin() ? "Ruhig" : "Ruhig \xE2\x99\xAA")});
        tag.AddTail(std::move(pUser));

        auto pComment = std::make_unique<CCommentsFrame>();
        SetLanguage(pComment->m_szLanguage, "eng");
        pComment->m_strText = U("The comment");
        tag.AddTail(std::move(pComment));
        auto pComment2 = std::make_unique<CCommentsFrame>();
        SetLanguage(pComment2->m_szLanguage, "deu");
        pComment2->m_strDescription = U("Notiz");
        pComment2->m_strText = U(Latin() ? "M\xC3\xBCnchen" : "M\xC3\xBCnchen \xE2\x9C\x93");
        tag.AddTail(std::move(pComment2));

        auto pLyrics = std::make_unique<CUnsynchronizedLyricsFrame>();
        SetLanguage(pLyrics->m_szLanguage, "eng");
        pLyrics->m_strDescription = U("Words");
        pLyrics->m_strText = U("Line one\nLine two");
        tag.AddTail(std::move(pLyrics));

        auto pTerms = std::make_unique<CTermOfUseFrame>();
        SetLanguage(pTerms->m_szLanguage, "eng");
        pTerms->m_strText = U("Terms of use");
        tag.AddTail(std::move(pTerms));

        auto pFront = std::make_unique<CPictureFrame>();
        pFront->m_strMimeType = U("image/png");
        pFront->m_nPictureType = 3;
        pFront->m_strDescription = U("Front");
        pFront->SetData(TestPng().data(), static_cast<UINT>(TestPng().size()));
        tag.AddTail(std::move(pFront));
        if (!Latin())
        {
            auto pBack = std::make_unique<CPictureFrame>();
            pBack->m_strMimeType = U("image/png");
            pBack->m_nPictureType = 4;
            pBack->m_strDescription = U("Back \xE2\x98\x83");
            pBack->SetData(TestPng().data(), static_cast<UINT>(TestPng().size()));
            tag.AddTail(std::move(pBack));
        }

        auto pUrl = std::make_unique<CUrlLinkFrame>("WOAR", 4);
        pUrl->m_strUrl = U("http://artist.example/");
        tag.AddTail(std::move(pUrl));
        auto pUserUrl = std::make_unique<CUserUrlLinkFrame>();
        pUserUrl->m_strDescription = U("Homepage");
        pUserUrl->m_strUrl = U("http://home.example/");
        tag.AddTail(std::move(pUserUrl));

        auto pPopularity = std::make_unique<CPopularimeterFrame>();
        pPopularity->m_strEmail = U("user@example.com");
        pPopularity->m_nRating = 196;
        pPopularity->m_nCounter = 70000;
        tag.AddTail(std::move(pPopularity));
        auto pCounter = std::make_unique<CPlayCounterFrame>();
        pCounter->m_nCounter = 42;
        tag.AddTail(std::move(pCounter));
        auto pPrivate = std::make_unique<CPrivateFrame>();
        pPrivate->m_strOwner = U("owner.example");
        const BYTE data[] = {0x00, 0x01, 0xFF, 0x00, 0xFE};
        pPrivate->SetData(data, sizeof(data));
        tag.AddTail(std::move(pPrivate));
    }

    // The records a reader has to find: every text in the case's encoding, URLs and owners in
    // encoding 0, the first picture's description in encoding 0 since the code page holds it.
    std::vector<Record> Expected() const
    {
        const std::string e = std::to_string(GetParam().nEncoding);
        std::vector<Record> records = {
            {"T", "TIT2", e, Title()},
            {"T", "TPE1", e, "First Artist", Artist2()},
            {"T", "TALB", e, "The Album"},
            {"T", "TRCK", e, "3/12"},
            {"T", "TPOS", e, "1/2"},
            {"T", YearID(), e, "2004"},
            {"T", "TCON", e, "Rock"},
            {"T", "TCOM", e, "Composer"},
            {"TXXX", e, "Mood", Latin() ? "Ruhig" : "Ruhig \xE2\x99\xAA"},
            {"COMM", e, "eng", "", "The comment"},
            {"COMM", e, "deu", "Notiz", Latin() ? "M\xC3\xBCnchen" : "M\xC3\xBCnchen \xE2\x9C\x93"},
            {"USLT", e, "eng", "Words", "Line one\nLine two"},
            {"USER", e, "eng", "Terms of use"},
            {"APIC", "0", "image/png", "3", "Front", Hex(TestPng())},
            {"W", "WOAR", "http://artist.example/"},
            {"WXXX", e, "Homepage", "http://home.example/"},
            {"POPM", "user@example.com", "196", "70000"},
            {"PCNT", "42"},
            {"PRIV", "owner.example", "0001ff00fe"},
        };
        if (!Latin())
            records.push_back({"APIC", e, "image/png", "4", "Back \xE2\x98\x83", Hex(TestPng())});
        return records;
    }

    // Writes both tags through the container as the editors do.
    void WriteTags()
    {
        CMpegFile file(ToCString(m_path), FALSE);
        ASSERT_NE(file.m_hFile, INVALID_HANDLE_VALUE);
        CID3v2* pTag = file.GetID3v2(TRUE);
        FillTag(*pTag);
        pTag->m_pHeader->m_nVersion = GetParam().nVersion;
        pTag->m_nTextEncoding = GetParam().nEncoding;
        CID3v1* pV1 = file.GetID3v1(TRUE);
        pV1->SetTitle(U("Ch\xC3\xA2teau"));
        pV1->SetArtist(U("First Artist"));
        pV1->SetAlbum(U("The Album"));
        pV1->SetYear(U("2004"));
        pV1->SetComment(U("The comment"));
        pV1->m_nTrack = 3;
        pV1->m_nGenre = 17;
        ASSERT_TRUE(file.SaveTags(TAG_ID3V1 | TAG_ID3V2));
    }

    static Record ExpectedID3v1()
    {
        return {"Ch\xC3\xA2teau", "First Artist", "The Album", "2004", "The comment", "3", "17"};
    }

    CTempDir m_dir;
    std::filesystem::path m_path;
    Bytes m_audio;
};

TEST_P(LibraryWrittenTest, MutagenReadsWhatWasWritten)
{
    WriteTags();
    EXPECT_EQ(CMp3Builder::AudioBytes(ReadFileBytes(m_path)), m_audio);

    const tagTAGVIEW peer = MutagenRead(m_path);
    EXPECT_EQ(peer.nID3v2Version, GetParam().nVersion);
    EXPECT_EQ(SortedLines(peer.frames), SortedLines(Expected()));
    EXPECT_TRUE(peer.bHasID3v1);
    EXPECT_EQ(peer.id3v1, ExpectedID3v1());

    // And the library reads its own file the same way.
    const tagTAGVIEW ours = LibraryRead(m_path);
    EXPECT_EQ(SortedLines(ours.frames), SortedLines(Expected()));
    EXPECT_EQ(ours.id3v1, ExpectedID3v1());
}

TEST_P(LibraryWrittenTest, FfprobeReadsWhatWasWritten)
{
    WriteTags();
    const auto tags = FfprobeEntries(m_path, "format_tags", Home());
    auto expect = [&tags](const std::string& key, const std::string& value)
    {
        const auto it = tags.find("format.tags." + key);
        EXPECT_TRUE(it != tags.end() && it->second == value)
            << "ffprobe's " << key << ": "
            << (it == tags.end() ? std::string("(none)") : it->second) << ", expected " << value;
    };
    expect("title", Title());
    // ffmpeg takes the first of several values.
    expect("artist", "First Artist");
    expect("album", "The Album");
    expect("track", "3/12");
    expect("disc", "1/2");
    expect("date", "2004");
    expect("genre", "Rock");
    expect("composer", "Composer");
    expect("Mood", Latin() ? "Ruhig" : "Ruhig \xE2\x99\xAA");
    expect("comment", "The comment");
    expect("Notiz", Latin() ? "M\xC3\xBCnchen" : "M\xC3\xBCnchen \xE2\x9C\x93");
    expect("lyrics_Words_eng", "Line one\nLine two");

    // The pictures are attached-picture streams with their description as title.
    const auto streams = FfprobeEntries(
        m_path, "stream=codec_name:stream_disposition=attached_pic:stream_tags=title", Home());
    const int nPictures = Latin() ? 1 : 2;
    EXPECT_EQ(streams.count("streams.stream." + std::to_string(nPictures + 1) + ".codec_name"), 0u);
    EXPECT_EQ(streams.at("streams.stream.0.codec_name"), "mp3");
    EXPECT_EQ(streams.at("streams.stream.1.codec_name"), "png");
    EXPECT_EQ(streams.at("streams.stream.1.disposition.attached_pic"), "1");
    EXPECT_EQ(streams.at("streams.stream.1.tags.title"), "Front");
    if (!Latin())
    {
        EXPECT_EQ(streams.at("streams.stream.2.tags.title"), "Back \xE2\x98\x83");
    }

    // The first picture comes out byte for byte.
    const std::filesystem::path out = m_dir.PathOf("front.png");
    ASSERT_TRUE(RunPeer({"ffmpeg", "-nostdin", "-v", "error", "-y", "-i", m_path.string(), "-map",
                         "0:v:0", "-c", "copy", "-frames:v", "1", "-f", "image2", out.string()},
                        Home()));
    EXPECT_EQ(ReadFileBytes(out), TestPng());

    // ffmpeg decodes the whole audio without an error, as before the tags.
    const std::vector<std::string> decode = {"ffmpeg", "-nostdin",      "-v",   "error",
                                             "-i",     m_path.string(), "-map", "0:a",
                                             "-f",     "null",          "-"};
    const tagPROCESSRESULT result = RunProcess(decode, PeerEnvironment(Home()));
    EXPECT_EQ(result.nExitCode, 0) << Describe(decode, result);
    EXPECT_EQ(result.strErr, "");
}

// A second save into the tag written first: smaller content stays in place (the tag keeps its
// size), larger content grows it; the audio never changes and mutagen follows every step.
TEST_P(LibraryWrittenTest, SavesAgainInPlaceAndGrowing)
{
    WriteTags();
    const Bytes first = ReadFileBytes(m_path);
    {
        CMpegFile file(ToCString(m_path), FALSE);
        CID3v2* pTag = file.GetID3v2(FALSE);
        ASSERT_NE(pTag, nullptr);
        ASSERT_TRUE(pTag->DeleteFrameByID("USLT"));
        pTag->m_pHeader->m_nVersion = GetParam().nVersion;
        pTag->m_nTextEncoding = GetParam().nEncoding;
        ASSERT_TRUE(file.SaveTags(TAG_ID3V2));
    }
    const Bytes second = ReadFileBytes(m_path);
    EXPECT_EQ(second.size(), first.size());
    EXPECT_EQ(CMp3Builder::AudioBytes(second), m_audio);
    std::vector<Record> expected = Expected();
    expected.erase(std::remove_if(expected.begin(), expected.end(),
                                  [](const Record& r) { return r[0] == "USLT"; }),
                   expected.end());
    EXPECT_EQ(SortedLines(MutagenRead(m_path).frames), SortedLines(expected));

    {
        CMpegFile file(ToCString(m_path), FALSE);
        CID3v2* pTag = file.GetID3v2(FALSE);
        ASSERT_NE(pTag, nullptr);
        auto pLong = std::make_unique<CUserTextFrame>();
        pLong->SetValues({U("Long"), CString(u'x', 3000)});
        pTag->AddTail(std::move(pLong));
        pTag->m_pHeader->m_nVersion = GetParam().nVersion;
        pTag->m_nTextEncoding = GetParam().nEncoding;
        ASSERT_TRUE(file.SaveTags(TAG_ID3V2));
    }
    const Bytes third = ReadFileBytes(m_path);
    EXPECT_GT(third.size(), second.size());
    EXPECT_EQ(CMp3Builder::AudioBytes(third), m_audio);
    expected.push_back(
        {"TXXX", std::to_string(GetParam().nEncoding), "Long", std::string(3000, 'x')});
    const tagTAGVIEW peer = MutagenRead(m_path);
    EXPECT_EQ(SortedLines(peer.frames), SortedLines(expected));
    EXPECT_EQ(peer.id3v1, ExpectedID3v1());
}

// Removing both tags gives back the file lame made.
TEST_P(LibraryWrittenTest, RemovingTheTagsRestoresTheFile)
{
    const Bytes original = ReadFileBytes(m_path);
    WriteTags();
    {
        CMpegFile file(ToCString(m_path), FALSE);
        ASSERT_TRUE(file.RemoveTags(TAG_ID3V1 | TAG_ID3V2));
    }
    EXPECT_EQ(ReadFileBytes(m_path), original);
    const tagTAGVIEW peer = MutagenRead(m_path);
    EXPECT_EQ(peer.nID3v2Version, 0);
    EXPECT_FALSE(peer.bHasID3v1);
}

INSTANTIATE_TEST_SUITE_P(VersionsAndEncodings, LibraryWrittenTest,
                         ::testing::Values(tagWRITECASE{3, 0}, tagWRITECASE{3, 1},
                                           tagWRITECASE{4, 0}, tagWRITECASE{4, 1},
                                           tagWRITECASE{4, 3}),
                         [](const ::testing::TestParamInfo<tagWRITECASE>& p)
                         {
                             return "V2" + std::to_string(p.param.nVersion) + "Encoding" +
                                    std::to_string(p.param.nEncoding);
                         });

// ---------------------------------------------------------------------------------------------
// Every UTF-16 string begins with a byte order mark, the empty ones too. ID3v2.3 requires it
// ("Unicode strings must begin with the Unicode BOM"); ID3v2.4 allows an empty string either as
// FF FE 00 00 or as 00 00, but ffmpeg accepts only the first: it skips a comment or TXXX frame
// whose empty description has no mark, so the usual comment (no description) written in UTF-16
// is lost to every ffmpeg-based player. Writing the mark is right for both versions.
// KNOWN LIBRARY FAULT: fails while an empty string is written in encoding 1 as 00 00 alone.

class EmptyUtf16StringsTest : public ::testing::TestWithParam<int>
{
protected:
    CTempDir m_dir;
};

// The body of the first frame with the ID in a tag of the version.
Bytes FrameBody(const Bytes& file, const char* szID, int nVersion)
{
    const size_t nTagEnd = CMp3Builder::AudioRange(file).first;
    size_t nPos = 10;
    while (nPos + 10 <= nTagEnd && file[nPos] != 0)
    {
        const size_t nSize = nVersion == 4
                                 ? (size_t{file[nPos + 4]} << 21) | (size_t{file[nPos + 5]} << 14) |
                                       (size_t{file[nPos + 6]} << 7) | size_t{file[nPos + 7]}
                                 : (size_t{file[nPos + 4]} << 24) | (size_t{file[nPos + 5]} << 16) |
                                       (size_t{file[nPos + 6]} << 8) | size_t{file[nPos + 7]};
        if (std::memcmp(&file[nPos], szID, 4) == 0)
            return Bytes(file.begin() + static_cast<std::ptrdiff_t>(nPos + 10),
                         file.begin() +
                             static_cast<std::ptrdiff_t>(std::min(nTagEnd, nPos + 10 + nSize)));
        nPos += 10 + nSize;
    }
    return {};
}

TEST_P(EmptyUtf16StringsTest, EmptyUtf16StringsHaveAByteOrderMark)
{
    const int nVersion = GetParam();
    const std::filesystem::path path = MakeLameFile(m_dir.GetPath(), "a.mp3", 44100, 2, 15, {});
    ASSERT_FALSE(path.empty());
    {
        CMpegFile file(ToCString(path), FALSE);
        CID3v2* pTag = file.GetID3v2(TRUE);
        auto pComment = std::make_unique<CCommentsFrame>();
        pComment->m_strText = U("The comment");
        pTag->AddTail(std::move(pComment));
        auto pUser = std::make_unique<CUserTextFrame>();
        pUser->SetValues({CString(), U("Value")});
        pTag->AddTail(std::move(pUser));
        auto pArtists = std::make_unique<CTextFrame>("TPE1", 4);
        pArtists->SetValues({U("A"), CString(), U("B")});
        pTag->AddTail(std::move(pArtists));
        pTag->m_pHeader->m_nVersion = nVersion;
        pTag->m_nTextEncoding = 1;
        ASSERT_TRUE(file.SaveTags(TAG_ID3V2));
    }
    const Bytes bytes = ReadFileBytes(path);
    EXPECT_EQ(Hex(FrameBody(bytes, "COMM", nVersion)),
              "01454e47"
              "fffe0000"
              "fffe540068006500200063006f006d006d0065006e0074000000");
    EXPECT_EQ(Hex(FrameBody(bytes, "TXXX", nVersion)), "01"
                                                       "fffe0000"
                                                       "fffe560061006c00750065000000");
    EXPECT_EQ(Hex(FrameBody(bytes, "TPE1", nVersion)), "01"
                                                       "fffe41000000"
                                                       "fffe0000"
                                                       "fffe42000000");

    const auto tags = FfprobeEntries(path, "format_tags", m_dir.PathOf("home"));
    EXPECT_EQ(tags.count("format.tags.comment"), 1u);
    const std::vector<std::string> decode = {"ffmpeg",      "-nostdin", "-v",   "error", "-i",
                                             path.string(), "-f",       "null", "-"};
    const tagPROCESSRESULT result = RunProcess(decode, PeerEnvironment(m_dir.PathOf("home")));
    EXPECT_EQ(result.strErr, "");
}

INSTANTIATE_TEST_SUITE_P(Versions, EmptyUtf16StringsTest, ::testing::Values(3, 4),
                         [](const ::testing::TestParamInfo<int>& p)
                         { return "V2" + std::to_string(p.param); });

// ---------------------------------------------------------------------------------------------
// Date frames across versions: the library's conversions give peers the date in the frames of
// the version written.

class WrittenTextFramesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_path = m_dir.PathOf("date.mp3");
        WriteFileBytes(m_path, FixtureAudio());
    }

    void Save(const std::vector<std::pair<const char*, const char*>>& frames, int nVersion)
    {
        CMpegFile file(ToCString(m_path), FALSE);
        CID3v2* pTag = file.GetID3v2(TRUE);
        for (const auto& [szID, szValue] : frames)
        {
            auto pFrame = std::make_unique<CTextFrame>(szID, 4);
            pFrame->SetValues({U(szValue)});
            pTag->AddTail(std::move(pFrame));
        }
        pTag->m_pHeader->m_nVersion = nVersion;
        pTag->m_nTextEncoding = 0;
        ASSERT_TRUE(file.SaveTags(TAG_ID3V2));
    }

    CTempDir m_dir;
    std::filesystem::path m_path;
};

TEST_F(WrittenTextFramesTest, RecordingTimeBecomesYearDateAndTimeIn23)
{
    Save({{"TDRC", "2004-05-06T07:08"}, {"TDOR", "1999-01-02"}}, 3);
    EXPECT_EQ(SortedLines(MutagenRead(m_path).frames), SortedLines({{"T", "TYER", "0", "2004"},
                                                                    {"T", "TDAT", "0", "0605"},
                                                                    {"T", "TIME", "0", "0708"},
                                                                    {"T", "TORY", "0", "1999"}}));
}

TEST_F(WrittenTextFramesTest, YearDateAndTimeBecomeRecordingTimeIn24)
{
    Save({{"TYER", "2004"}, {"TDAT", "0605"}, {"TIME", "0708"}, {"TORY", "1999"}}, 4);
    // mutagen prints a time stamp with a space between date and time.
    EXPECT_EQ(SortedLines(MutagenRead(m_path).frames),
              SortedLines({{"T", "TDRC", "0", "2004-05-06 07:08"}, {"T", "TDOR", "0", "1999"}}));
    CMpegFile file(ToCString(m_path), FALSE);
    ASSERT_NE(file.GetID3v2(FALSE), nullptr);
    EXPECT_EQ(file.GetID3v2(FALSE)->GetYear().ToUtf8(), "2004-05-06T07:08");
}

// ---------------------------------------------------------------------------------------------
// Encoding 0 is written in the ANSI code page (Windows-1252), as the ID3v1 fields are; peers read
// it as ISO-8859-1, which differs only in 0x80 to 0x9F.

TEST_F(WrittenTextFramesTest, EncodingZeroIsTheAnsiCodePage)
{
    Save({{"TIT2", "5 \xE2\x82\xAC caf\xC3\xA9"}}, 4);
    const Bytes bytes = ReadFileBytes(m_path);
    const Bytes expected = {0x00, '5', ' ', 0x80, ' ', 'c', 'a', 'f', 0xE9, 0x00};
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), expected.begin(), expected.end()),
              bytes.end());
    CMpegFile file(ToCString(m_path), FALSE);
    ASSERT_NE(file.GetID3v2(FALSE), nullptr);
    EXPECT_EQ(file.GetID3v2(FALSE)->GetTitle().ToUtf8(), "5 \xE2\x82\xAC caf\xC3\xA9");
    // mutagen: ISO-8859-1, so 0x80 is the control character U+0080.
    EXPECT_EQ(MutagenRead(m_path).frames,
              (std::vector<Record>{{"T", "TIT2", "0", "5 \xC2\x80 caf\xC3\xA9"}}));
}

} // namespace
