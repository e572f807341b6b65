// Files tagged by independent tools (mutagen, eyeD3, id3v2, kid3-cli) read through the library
// give the values mutagen reads from them; saved again by the library, mutagen still reads what
// the library reads, and the audio stays as it was.

#include "interop/InteropFiles.h"
#include "interop/PeerProcess.h"
#include "interop/TagRecords.h"

#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/frames/TextFrame.h"

#include "fixtures/Mp3Builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <tuple>

using namespace Tags;
using namespace Tags::ID3v1Tag;
using namespace Tags::ID3v2Tag;
using namespace Fixtures;
using namespace Interop;

namespace
{

// The frame ID a record stands for, as FindFrame takes it.
std::string IdOf(const Record& r)
{
    return r[0] == "T" || r[0] == "W" || r[0] == "OTHER" ? r[1] : r[0];
}

class PeerReadTest : public ::testing::Test
{
protected:
    // A file of fixture audio to tag.
    std::filesystem::path NewFile(const std::string& name)
    {
        const std::filesystem::path path = m_dir.PathOf(name);
        WriteFileBytes(path, FixtureAudio());
        return path;
    }

    std::filesystem::path Home() const { return m_dir.PathOf("home"); }

    // The library reads what mutagen reads: the same frames with the same values, the same
    // ID3v1 fields, the basic fields by the getters' rules, and FindFrame finds the first frame
    // of every ID with the values mutagen gives it.
    void ExpectSameAsMutagen(const std::filesystem::path& path)
    {
        SCOPED_TRACE(path.filename().string());
        const tagTAGVIEW peer = MutagenRead(path);
        CMpegFile file(ToCString(path), TRUE);
        ASSERT_NE(file.m_hFile, INVALID_HANDLE_VALUE);
        const tagTAGVIEW ours = LibraryView(file);

        EXPECT_EQ(ours.nID3v2Version, peer.nID3v2Version);
        EXPECT_EQ(SortedLines(ours.frames), SortedLines(peer.frames));
        EXPECT_EQ(ours.bHasID3v1, peer.bHasID3v1);
        EXPECT_EQ(ours.id3v1, peer.id3v1);

        if (CID3v2* pTag = file.GetID3v2(FALSE))
        {
            EXPECT_TRUE(pTag->m_bValid);
            EXPECT_EQ(BasicsOf(*pTag), BasicsFromRecords(peer));
            for (const Record& r : peer.frames)
            {
                const std::string id = IdOf(r);
                const CFrame* pFrame = pTag->FindFrame(id.c_str());
                ASSERT_NE(pFrame, nullptr) << id;
                const Record* pFirst = nullptr;
                for (const Record& other : peer.frames)
                {
                    if (!pFirst && IdOf(other) == id)
                        pFirst = &other;
                }
                EXPECT_EQ(FormatRecord(FrameRecord(*pFrame)), FormatRecord(*pFirst));
            }
        }
    }

    // Changes the title through the library and saves the tag as 2.nVersion in nEncoding: the
    // audio is unchanged and mutagen reads what the library reads, the new title included.
    void ExpectResaveReadable(const std::filesystem::path& path, int nVersion, int nEncoding)
    {
        SCOPED_TRACE("saved as 2." + std::to_string(nVersion) + ", encoding " +
                     std::to_string(nEncoding));
        const Bytes audio = ContainerAudio(path);
        const std::string title = nEncoding == 0 ? "Neuer Titel \xC3\xA9t\xC3\xA9"
                                                 : "Neuer Titel \xE2\x9C\x93 \xE6\x97\xA5";
        {
            CMpegFile file(ToCString(path), FALSE);
            ASSERT_NE(file.m_hFile, INVALID_HANDLE_VALUE);
            CID3v2* pTag = file.GetID3v2(TRUE);
            pTag->DeleteFrameByID("TIT2");
            auto pTitle = std::make_unique<CTextFrame>("TIT2", 4);
            pTitle->SetValues({CString::FromUtf8(title)});
            pTag->AddTail(std::move(pTitle));
            pTag->m_pHeader->m_nVersion = nVersion;
            pTag->m_nTextEncoding = nEncoding;
            ASSERT_TRUE(file.SaveTags(TAG_ID3V2));
        }
        EXPECT_EQ(ContainerAudio(path), audio);
        const tagTAGVIEW peer = MutagenRead(path);
        const tagTAGVIEW ours = LibraryRead(path);
        EXPECT_EQ(peer.nID3v2Version, nVersion);
        EXPECT_EQ(SortedLines(ours.frames), SortedLines(peer.frames));
        EXPECT_EQ(ours.id3v1, peer.id3v1);
        const Record expected = {"T", "TIT2", std::to_string(nEncoding), title};
        EXPECT_NE(std::find(peer.frames.begin(), peer.frames.end(), expected), peer.frames.end())
            << FormatRecord(expected);
    }

    CTempDir m_dir;
};

// ---------------------------------------------------------------------------------------------
// mutagen

struct tagMUTAGENCASE
{
    int nVersion;
    int nEncoding;
    bool bWithID3v1;
};

class MutagenTaggedReadTest : public PeerReadTest,
                              public ::testing::WithParamInterface<tagMUTAGENCASE>
{
protected:
    // Every frame class the library knows, several values in one frame, two frames of a kind.
    static std::vector<Record> Frames(int nEncoding)
    {
        const std::string e = std::to_string(nEncoding);
        const bool bLatin = nEncoding == 0;
        const std::string title = bLatin ? "T\xC3\xAFtle \xC3\xA0 l'\xC3\xA9t\xC3\xA9"
                                         : "T\xC3\xAFtle \xE2\x98\x83 \xE6\x97\xA5\xE6\x9C\xAC";
        const std::string artist2 = bLatin ? "Zw\xC3\xB6lf" : "\xD0\x90\xD0\xB1\xD0\xB2";
        return {
            {"T", "TIT2", e, title},
            {"T", "TPE1", e, "Artist One", artist2},
            {"T", "TALB", e, "The Album"},
            {"T", "TRCK", e, "3/12"},
            {"T", "TPOS", e, "1/2"},
            {"T", "TDRC", e, "2004"},
            {"T", "TCON", e, "Rock", "Jazz"},
            {"T", "TCOM", e, "Composer"},
            {"TXXX", e, "MusicBrainz Album Id", "0a1b2c"},
            {"TXXX", e, "Mood", "Calm"},
            {"COMM", e, "eng", "", "The comment"},
            {"COMM", e, "deu", "Beschreibung", "Zweiter Kommentar"},
            {"USLT", e, "eng", "Lyrics", "Line one\nLine two"},
            {"USER", e, "eng", "Terms of use"},
            {"APIC", e, "image/png", "3", "Cover", Hex(TestPng())},
            {"W", "WOAR", "http://artist.example/"},
            {"WXXX", e, "Homepage", "http://home.example/"},
            {"POPM", "user@example.com", "196", "17"},
            {"PCNT", "42"},
            {"PRIV", "owner.example", "0001ff00fe"},
        };
    }
};

TEST_P(MutagenTaggedReadTest, ReadsWhatMutagenWrote)
{
    const tagMUTAGENCASE c = GetParam();
    const std::filesystem::path path = NewFile("mutagen.mp3");
    MutagenWrite(path, c.nVersion, c.bWithID3v1 ? 2 : 0, Frames(c.nEncoding), m_dir.GetPath());
    ExpectSameAsMutagen(path);

    // What the tool was asked to write, not only what both readers agree on.
    CMpegFile file(ToCString(path), FALSE);
    CID3v2* pTag = file.GetID3v2(FALSE);
    ASSERT_NE(pTag, nullptr);
    EXPECT_EQ(pTag->m_pHeader->m_nVersion, c.nVersion);
    EXPECT_EQ(pTag->GetArtist().ToUtf8(), "Artist One; " + Frames(c.nEncoding)[1][4]);
    EXPECT_EQ(pTag->GetYear().ToUtf8(), "2004");
    EXPECT_EQ(pTag->GetTrack(), 3);
    EXPECT_EQ(pTag->GetGenre().ToUtf8(), "Rock; Jazz");
    EXPECT_EQ(pTag->GetComment().ToUtf8(), "The comment");
    EXPECT_EQ(file.HasID3v1(), c.bWithID3v1);
    file.Close();

    ExpectResaveReadable(path, c.nVersion, c.nEncoding == 2 ? 1 : c.nEncoding);
}

INSTANTIATE_TEST_SUITE_P(VersionsAndEncodings, MutagenTaggedReadTest,
                         ::testing::Values(tagMUTAGENCASE{3, 0, false}, tagMUTAGENCASE{3, 1, true},
                                           tagMUTAGENCASE{4, 0, true}, tagMUTAGENCASE{4, 1, false},
                                           tagMUTAGENCASE{4, 2, false}, tagMUTAGENCASE{4, 3, true}),
                         [](const ::testing::TestParamInfo<tagMUTAGENCASE>& p)
                         {
                             return "V2" + std::to_string(p.param.nVersion) + "Encoding" +
                                    std::to_string(p.param.nEncoding) +
                                    (p.param.bWithID3v1 ? "WithID3v1" : "");
                         });

// ---------------------------------------------------------------------------------------------
// eyeD3

class EyeD3TaggedReadTest : public PeerReadTest,
                            public ::testing::WithParamInterface<std::tuple<int, std::string>>
{
};

TEST_P(EyeD3TaggedReadTest, ReadsWhatEyeD3Wrote)
{
    const auto& [nVersion, encoding] = GetParam();
    const bool bLatin = encoding == "latin1";
    const std::filesystem::path path = NewFile("eyed3.mp3");
    const std::filesystem::path lyrics = m_dir.PathOf("lyrics.txt");
    WriteFileBytes(lyrics, BytesOf("First line\nSecond line\n"));
    const std::filesystem::path picture = m_dir.PathOf("cover.png");
    WriteFileBytes(picture, TestPng());
    const std::string title =
        bLatin ? "Caf\xC3\xA9 cr\xC3\xA8me" : "Caf\xC3\xA9 \xE2\x98\x95 \xE6\x9D\xB1";
    std::vector<std::string> args = {"eyeD3",
                                     "-Q",
                                     "--no-color",
                                     "--no-config",
                                     nVersion == 3 ? "--to-v2.3" : "--to-v2.4",
                                     "--encoding",
                                     encoding};
    const std::vector<std::pair<std::string, std::string>> options = {
        {"-t", title},
        {"-a", "The Artist"},
        {"-A", "The Album"},
        {"-n", "3"},
        {"-N", "12"},
        {"-d", "1"},
        {"-D", "2"},
        {"-G", "Rock"},
        {"--recording-date", "2004"},
        {"--text-frame", "TCOM:Composer"},
        {"-c", "The comment"},
        {"--add-comment", "Other comment:Desc:deu"},
        {"--user-text-frame", "Mood:Calm"},
        {"--user-text-frame", "Catalog:CAT-7"},
        {"--add-image", picture.string() + ":FRONT_COVER:Front"},
        {"--url-frame", "WOAR:http://artist.example/"},
        {"--user-url-frame", "Homepage:http://home.example/"},
        {"--add-popularity", "user@example.com:128:9"},
        {"--play-count", "42"},
        {"--add-lyrics", lyrics.string() + ":Words:eng"}};
    for (const auto& [option, value] : options)
    {
        args.push_back(option);
        args.push_back(value);
    }
    args.push_back(path.string());
    ASSERT_TRUE(RunPeer(args, Home()));
    ExpectSameAsMutagen(path);

    CMpegFile file(ToCString(path), FALSE);
    CID3v2* pTag = file.GetID3v2(FALSE);
    ASSERT_NE(pTag, nullptr);
    EXPECT_EQ(pTag->m_pHeader->m_nVersion, nVersion);
    EXPECT_EQ(pTag->GetTitle().ToUtf8(), title);
    EXPECT_EQ(pTag->GetTrack(), 3);
    EXPECT_EQ(pTag->GetYear().ToUtf8(), "2004");
    file.Close();

    ExpectResaveReadable(path, nVersion == 3 ? 4 : 3, 1);
}

INSTANTIATE_TEST_SUITE_P(VersionsAndEncodings, EyeD3TaggedReadTest,
                         ::testing::Values(std::make_tuple(3, std::string("utf16")),
                                           std::make_tuple(3, std::string("latin1")),
                                           std::make_tuple(4, std::string("utf8")),
                                           std::make_tuple(4, std::string("utf16-be"))),
                         [](const ::testing::TestParamInfo<std::tuple<int, std::string>>& p)
                         {
                             std::string name = "V2" + std::to_string(std::get<0>(p.param));
                             for (char ch : std::get<1>(p.param))
                             {
                                 if (std::isalnum(static_cast<unsigned char>(ch)))
                                     name += ch;
                             }
                             return name;
                         });

TEST_F(PeerReadTest, ReadsTheID3v1TagEyeD3Wrote)
{
    const std::filesystem::path path = NewFile("eyed3-v1.mp3");
    ASSERT_TRUE(RunPeer({"eyeD3", "-Q",          "--no-color", "--no-config", "-1", "--to-v1.1",
                         "-t",    "Caf\xC3\xA9", "-a",         "The Artist",  "-A", "The Album",
                         "-Y",    "1999",        "-n",         "4",           "-G", "Jazz",
                         "-c",    "A comment",   path.string()},
                        Home()));
    ExpectSameAsMutagen(path);
    CMpegFile file(ToCString(path), FALSE);
    EXPECT_FALSE(file.HasID3v2());
    CID3v1* pTag = file.GetID3v1(FALSE);
    ASSERT_NE(pTag, nullptr);
    EXPECT_EQ(BasicsOf(*pTag), (tagBASICS{"Caf\xC3\xA9", "The Artist", "The Album", "1999",
                                          "A comment", "Jazz", 4}));
}

// ---------------------------------------------------------------------------------------------
// id3v2 (id3lib): ID3v2.3 in Latin-1 and an ID3v1.1 block, both by default

TEST_F(PeerReadTest, ReadsBothTagsId3v2Wrote)
{
    const std::filesystem::path path = NewFile("id3lib.mp3");
    ASSERT_TRUE(RunPeer({"id3v2",      "-t",         "Caf\xC3\xA9 cr\xC3\xA8me",
                         "-a",         "The Artist", "-A",
                         "The Album",  "-y",         "2001",
                         "-T",         "5/9",        "-g",
                         "17",         "-c",         "Desc:A comment:eng",
                         "--TXXX",     "Mood:Calm",  "--TCOM",
                         "Composer",   "--WOAR",     "http://artist.example/",
                         path.string()},
                        Home()));
    ExpectSameAsMutagen(path);

    CMpegFile file(ToCString(path), FALSE);
    CID3v2* pTag = file.GetID3v2(FALSE);
    ASSERT_NE(pTag, nullptr);
    EXPECT_EQ(pTag->m_pHeader->m_nVersion, 3);
    // id3lib writes the genre as "(17)", which reads as its name.
    EXPECT_EQ(BasicsOf(*pTag), (tagBASICS{"Caf\xC3\xA9 cr\xC3\xA8me", "The Artist", "The Album",
                                          "2001", "A comment", "Rock", 5}));
    CID3v1* pV1 = file.GetID3v1(FALSE);
    ASSERT_NE(pV1, nullptr);
    EXPECT_EQ(BasicsOf(*pV1), (tagBASICS{"Caf\xC3\xA9 cr\xC3\xA8me", "The Artist", "The Album",
                                         "2001", "A comment", "Rock", 5}));
    file.Close();

    ExpectResaveReadable(path, 4, 3);
}

TEST_F(PeerReadTest, ReadsTheID3v1TagId3v2WroteAlone)
{
    const std::filesystem::path path = NewFile("id3lib-v1.mp3");
    ASSERT_TRUE(RunPeer({"id3v2", "-1", "-t", "Only v1", "-a", "Artist", "-y", "1987", "-T", "200",
                         "-g", "80", "-c", "Twenty-eight characters long", path.string()},
                        Home()));
    ExpectSameAsMutagen(path);
    CMpegFile file(ToCString(path), FALSE);
    EXPECT_FALSE(file.HasID3v2());
    CID3v1* pTag = file.GetID3v1(FALSE);
    ASSERT_NE(pTag, nullptr);
    EXPECT_EQ(pTag->GetTrack(), 200);
    EXPECT_EQ(pTag->GetGenre().ToUtf8(), "Folk");
    EXPECT_EQ(pTag->GetComment().ToUtf8(), "Twenty-eight characters long");
}

// ---------------------------------------------------------------------------------------------
// kid3-cli (TagLib)

// kid3-cli runs one command per -c option on the file.
std::vector<std::string> Kid3Args(const std::vector<std::string>& commands,
                                  const std::filesystem::path& path)
{
    std::vector<std::string> args = {"kid3-cli"};
    for (const std::string& command : commands)
    {
        args.push_back("-c");
        args.push_back(command);
    }
    args.push_back(path.string());
    return args;
}

class Kid3TaggedReadTest : public PeerReadTest,
                           public ::testing::WithParamInterface<std::tuple<int, std::string>>
{
};

TEST_P(Kid3TaggedReadTest, ReadsWhatKid3Wrote)
{
    const auto& [nVersion, encoding] = GetParam();
    const bool bLatin = encoding == "TE_ISO8859_1";
    const std::filesystem::path path = NewFile("kid3.mp3");
    const std::filesystem::path picture = m_dir.PathOf("cover.png");
    WriteFileBytes(picture, TestPng());
    const std::string title = bLatin ? "M\xC3\xBCnchen" : "M\xC3\xBCnchen \xE2\x99\xAB";
    // kid3 separates several values of one frame with "|".
    ASSERT_TRUE(RunPeer(
        Kid3Args({std::string("config Tag.id3v2Version ID3v2_") + (nVersion == 3 ? "3_0" : "4_0"),
                  "config Tag.textEncoding " + encoding, "set title '" + title + "'",
                  "set artist 'First|Second'", "set album 'The Album'", "set track 7/10",
                  "set date 2011", "set genre Jazz", "set comment 'Kid3 comment'", "set Mood Calm",
                  "set picture:'" + picture.string() + "' 'Front'", "save"},
                 path),
        Home()));
    ExpectSameAsMutagen(path);

    CMpegFile file(ToCString(path), FALSE);
    CID3v2* pTag = file.GetID3v2(FALSE);
    ASSERT_NE(pTag, nullptr);
    EXPECT_EQ(pTag->m_pHeader->m_nVersion, nVersion);
    EXPECT_EQ(BasicsOf(*pTag),
              (tagBASICS{title, "First; Second", "The Album", "2011", "Kid3 comment", "Jazz", 7}));
    file.Close();

    ExpectResaveReadable(path, nVersion, bLatin ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(VersionsAndEncodings, Kid3TaggedReadTest,
                         ::testing::Values(std::make_tuple(3, std::string("TE_UTF16")),
                                           std::make_tuple(3, std::string("TE_ISO8859_1")),
                                           std::make_tuple(4, std::string("TE_UTF8")),
                                           std::make_tuple(4, std::string("TE_ISO8859_1"))),
                         [](const ::testing::TestParamInfo<std::tuple<int, std::string>>& p)
                         {
                             std::string name = "V2" + std::to_string(std::get<0>(p.param));
                             for (char ch : std::get<1>(p.param).substr(3))
                             {
                                 if (std::isalnum(static_cast<unsigned char>(ch)))
                                     name += ch;
                             }
                             return name;
                         });

TEST_F(PeerReadTest, ReadsTheID3v1TagKid3Wrote)
{
    const std::filesystem::path path = NewFile("kid3-v1.mp3");
    ASSERT_TRUE(RunPeer(Kid3Args({"set title 'Caf\xC3\xA9' 1", "set artist Artist 1",
                                  "set album Album 1", "set track 9 1", "set date 1977 1",
                                  "set genre Blues 1", "set comment 'Short' 1", "save"},
                                 path),
                        Home()));
    ExpectSameAsMutagen(path);
    CMpegFile file(ToCString(path), FALSE);
    EXPECT_FALSE(file.HasID3v2());
    CID3v1* pTag = file.GetID3v1(FALSE);
    ASSERT_NE(pTag, nullptr);
    EXPECT_EQ(BasicsOf(*pTag),
              (tagBASICS{"Caf\xC3\xA9", "Artist", "Album", "1977", "Short", "Blues", 9}));
}

// ---------------------------------------------------------------------------------------------
// Where the library reads ID3v1 differently from mutagen, by its own rules.

class ID3v1RulesTest : public PeerReadTest
{
protected:
    std::filesystem::path WithBlock(const CMp3Builder::Id3v1Fields& fields)
    {
        const std::filesystem::path path = m_dir.PathOf("v1.mp3");
        WriteFileBytes(path, Concat({FixtureAudio(), CMp3Builder::Id3v1Block(fields)}));
        return path;
    }
};

// Text is in the ANSI code page (Windows-1252), so 0x80 is the euro sign; mutagen reads
// ISO-8859-1 and gets U+0080.
TEST_F(ID3v1RulesTest, TextIsInTheAnsiCodePage)
{
    CMp3Builder::Id3v1Fields f;
    f.m_strTitle = "5 \x80 and \xE9";
    const tagTAGVIEW ours = LibraryRead(WithBlock(f));
    ASSERT_TRUE(ours.bHasID3v1);
    EXPECT_EQ(ours.id3v1[0], "5 \xE2\x82\xAC and \xC3\xA9");
}

// Only trailing white space is removed; mutagen strips leading spaces too.
TEST_F(ID3v1RulesTest, LeadingSpacesAreKept)
{
    CMp3Builder::Id3v1Fields f;
    f.m_strTitle = "  Song                        ";
    f.m_strArtist = "Artist\t ";
    const tagTAGVIEW ours = LibraryRead(WithBlock(f));
    ASSERT_TRUE(ours.bHasID3v1);
    EXPECT_EQ(ours.id3v1[0], "  Song");
    EXPECT_EQ(ours.id3v1[1], "Artist");
}

// A 30-byte comment (byte 125 not zero) is ID3v1.0 and has no track number; mutagen takes the
// comment's last byte for one.
TEST_F(ID3v1RulesTest, ThirtyByteCommentHasNoTrack)
{
    CMp3Builder::Id3v1Fields f;
    f.m_strComment = "Thirty characters of comment!!";
    ASSERT_EQ(f.m_strComment.size(), 30u);
    const tagTAGVIEW ours = LibraryRead(WithBlock(f));
    ASSERT_TRUE(ours.bHasID3v1);
    EXPECT_EQ(ours.id3v1[4], f.m_strComment);
    EXPECT_EQ(ours.id3v1[5], "0");
}

} // namespace
