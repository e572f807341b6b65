// The tagdump tool: its exit codes and messages, JSON that a standard parser accepts and that
// says what the library reads, and a write/read cycle whose result mutagen reads too.

#include "interop/InteropFiles.h"
#include "interop/PeerProcess.h"
#include "interop/TagRecords.h"

#include "res/StringTable.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/SyncSafe.h"
#include "tags/mpeg/AudioProperties.h"
#include "tags/mpeg/MpegProperties.h"

#include "fixtures/CorpusCopy.h"
#include "fixtures/Mp3Builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>

using namespace Tags;
using namespace Tags::ID3v1Tag;
using namespace Tags::ID3v2Tag;
using namespace Fixtures;
using namespace Interop;

namespace
{

// A JSON value flattened by the helper: "a.b.0.c" -> (type, value).
using JsonValues = std::map<std::string, std::pair<std::string, std::string>>;

std::string TagDumpPath()
{
    return std::string(TW_BIN_DIR) + "/tagdump";
}

class TagDumpInteropTest : public ::testing::Test
{
protected:
    tagPROCESSRESULT TagDump(const std::vector<std::string>& args)
    {
        std::vector<std::string> command = {TagDumpPath()};
        command.insert(command.end(), args.begin(), args.end());
        return RunProcess(command, PeerEnvironment(m_dir.PathOf("home")));
    }

    // Parses the output of several tagdump runs at once: one helper run for all of them.
    std::vector<JsonValues> ParseJson(const std::vector<std::string>& outputs)
    {
        std::vector<std::string> args = {"json"};
        for (size_t i = 0; i < outputs.size(); ++i)
        {
            const std::filesystem::path path = m_dir.PathOf("out" + std::to_string(i) + ".json");
            WriteFileBytes(path, BytesOf(outputs[i]));
            args.push_back(path.string());
        }
        std::vector<JsonValues> parsed;
        for (const Record& r : ParseRecords(RunHelper(args)))
        {
            if (r[0] == "FILE")
                parsed.emplace_back();
            else if (r[0] == "INVALID")
                ADD_FAILURE() << "not valid JSON (" << r[1] << "):\n" << outputs[parsed.size() - 1];
            else if (!parsed.empty() && r.size() == 3)
                parsed.back()[r[0]] = {r[1], r[2]};
        }
        EXPECT_EQ(parsed.size(), outputs.size());
        return parsed;
    }

    JsonValues Dump(const std::filesystem::path& path)
    {
        const tagPROCESSRESULT result = TagDump({path.string()});
        EXPECT_EQ(result.nExitCode, 0) << result.strErr;
        std::vector<JsonValues> parsed = ParseJson({result.strOut});
        return parsed.empty() ? JsonValues() : parsed.front();
    }

    static void ExpectString(const JsonValues& json, const std::string& key,
                             const std::string& value)
    {
        const auto it = json.find(key);
        ASSERT_NE(it, json.end()) << key;
        EXPECT_EQ(it->second.first, "string") << key;
        EXPECT_EQ(it->second.second, value) << key;
    }
    static void ExpectScalar(const JsonValues& json, const std::string& key,
                             const std::string& type, const std::string& value)
    {
        const auto it = json.find(key);
        ASSERT_NE(it, json.end()) << key;
        EXPECT_EQ(it->second, std::make_pair(type, value)) << key;
    }
    static void ExpectInt(const JsonValues& json, const std::string& key, long long nValue)
    {
        ExpectScalar(json, key, "int", std::to_string(nValue));
    }
    static void ExpectBool(const JsonValues& json, const std::string& key, bool bValue)
    {
        ExpectScalar(json, key, "bool", bValue ? "true" : "false");
    }

    // Everything the JSON says equals what the library reads through its own container.
    static void ExpectJsonMatchesLibrary(const JsonValues& json, const std::filesystem::path& path)
    {
        CMpegFile file(ToCString(path), TRUE);
        ASSERT_NE(file.m_hFile, INVALID_HANDLE_VALUE);
        ExpectBool(json, "opened", true);
        ExpectBool(json, "read_only", false);
        CID3v1* pV1 = file.GetID3v1(FALSE);
        CID3v2* pV2 = file.GetID3v2(FALSE);
        std::string summary = pV1 ? "ID3v1 " : "";
        if (pV2)
            summary +=
                (pV2->m_bValid ? "ID3v2." : "!ID3v2.") + std::to_string(pV2->m_pHeader->m_nVersion);
        ExpectString(json, "summary", summary);

        const CTagBase* pTag = pV2 ? static_cast<const CTagBase*>(pV2) : pV1;
        const tagBASICS basics = pV2 ? BasicsOf(*pV2) : pV1 ? BasicsOf(*pV1) : tagBASICS();
        ExpectString(json, "tag.title", basics.strTitle);
        ExpectString(json, "tag.artist", basics.strArtist);
        ExpectString(json, "tag.album", basics.strAlbum);
        ExpectString(json, "tag.year", basics.strYear);
        ExpectString(json, "tag.comment", basics.strComment);
        ExpectInt(json, "tag.track", pTag ? pTag->GetTrack() : 0);
        ExpectString(json, "tag.genre", basics.strGenre);

        if (pV1)
        {
            const tagBASICS v1 = BasicsOf(*pV1);
            ExpectString(json, "id3v1.title", v1.strTitle);
            ExpectString(json, "id3v1.artist", v1.strArtist);
            ExpectString(json, "id3v1.album", v1.strAlbum);
            ExpectString(json, "id3v1.year", v1.strYear);
            ExpectString(json, "id3v1.comment", v1.strComment);
            ExpectInt(json, "id3v1.track", pV1->m_nTrack);
            ExpectInt(json, "id3v1.genre", pV1->m_nGenre);
        }
        else
            ExpectScalar(json, "id3v1", "null", "");

        if (pV2)
        {
            ExpectInt(json, "id3v2.version", pV2->m_pHeader->m_nVersion);
            ExpectBool(json, "id3v2.valid", pV2->m_bValid);
            ExpectInt(json, "id3v2.size", pV2->m_pHeader->m_nSize);
            ExpectScalar(json, "id3v2.frames", "array", std::to_string(pV2->m_frames.size()));
            size_t i = 0;
            for (const auto& pFrame : pV2->m_frames)
            {
                const std::string key = "id3v2.frames." + std::to_string(i++);
                ExpectString(json, key + ".id", pFrame->GetID());
                ExpectString(json, key + ".class", pFrame->GetRuntimeClassName());
                ExpectString(json, key + ".text", pFrame->GetText().ToUtf8());
            }
        }
        else
            ExpectScalar(json, "id3v2", "null", "");

        auto* pAudio = dynamic_cast<CMpegProperties*>(file.GetAudioProperties());
        ASSERT_NE(pAudio, nullptr);
        ExpectInt(json, "audio.length", pAudio->GetLength());
        ExpectInt(json, "audio.bitrate", pAudio->GetBitrate());
        ExpectInt(json, "audio.sample_rate", pAudio->GetSampleRate());
        ExpectInt(json, "audio.channels", pAudio->GetChannels());
        ExpectInt(json, "audio.version", pAudio->m_nVersion);
        ExpectInt(json, "audio.layer", pAudio->m_nLayer);
        ExpectInt(json, "audio.channel_mode", pAudio->m_nChannelMode);
        ExpectInt(json, "audio.emphasis", pAudio->m_nEmphasis);
        ExpectBool(json, "audio.protected", pAudio->m_bProtected);
        ExpectBool(json, "audio.copyrighted", pAudio->m_bCopyrighted);
        ExpectBool(json, "audio.original", pAudio->m_bOriginal);
    }

    CTempDir m_dir;
};

TEST_F(TagDumpInteropTest, BadUsageExitsWithTwo)
{
    const std::string file = m_dir.PathOf("a.mp3").string();
    WriteFileBytes(file, FixtureAudio());
    const std::vector<std::vector<std::string>> usages = {
        {},
        {"--encoding", "3", "--id3v2-version", "3", "--set", "title=x", file},
        {"--encoding", "2", file},
        {"--id3v2-version", "2", file},
        {"--set", "composer=x", file},
        {"--set", "title", file},
        {"--set", "track=256", file},
        {"--set", "track=seven", file},
        {"--remove-tags", "--set", "title=x", file},
        {"--bogus", file},
        {file, file},
    };
    for (const auto& args : usages)
    {
        const tagPROCESSRESULT result = TagDump(args);
        EXPECT_EQ(result.nExitCode, 2) << Describe(args, result);
        EXPECT_EQ(result.strOut, "");
        EXPECT_EQ(result.strErr.rfind("tagdump: ", 0), 0u) << result.strErr;
    }
    // Nothing was written by any of them.
    EXPECT_EQ(ReadFileBytes(file), FixtureAudio());
}

TEST_F(TagDumpInteropTest, AFileThatCannotBeOpenedExitsWithOne)
{
    const std::filesystem::path missing = m_dir.PathOf("missing.mp3");
    const tagPROCESSRESULT result = TagDump({missing.string()});
    EXPECT_EQ(result.nExitCode, 1);
    EXPECT_EQ(result.strOut, "");
    EXPECT_EQ(result.strErr,
              Res::FormatResourceString(Res::IDS_FAILED_READING_FILE, ToCString(missing)).ToUtf8() +
                  "\n");
    EXPECT_EQ(TagDump({"--set", "title=x", missing.string()}).nExitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

// The one save the container refuses: an ID3v2 tag that runs into the ID3v1 block.
TEST_F(TagDumpInteropTest, ARefusedSaveExitsWithThree)
{
    const std::filesystem::path path = m_dir.PathOf("overlong.mp3");
    const Bytes audio = FixtureAudio();
    Bytes bytes = Concat(
        {CMp3Builder::Id3v2Tag(3, 40), audio, CMp3Builder::Id3v1Block(CMp3Builder::Id3v1Fields())});
    // The declared size ends inside the block.
    WriteSyncSafe(bytes.data() + 6, static_cast<UINT>(40 + audio.size() + 64));
    WriteFileBytes(path, bytes);
    const std::string message =
        Res::FormatResourceString(Res::IDS_FAILED_WRITING_FILE, ToCString(path)).ToUtf8();
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"--set", "title=x", path.string()},
                                               {"--no-id3v1", "--set", "title=x", path.string()},
                                               {"--remove-tags", path.string()}})
    {
        const tagPROCESSRESULT result = TagDump(args);
        EXPECT_EQ(result.nExitCode, 3) << Describe(args, result);
        EXPECT_EQ(result.strErr.substr(0, message.size()), message) << result.strErr;
        EXPECT_EQ(ReadFileBytes(path), bytes);
    }
    // Reading it is fine.
    EXPECT_EQ(TagDump({path.string()}).nExitCode, 0);
}

// A file tagged by another program, with both tags and text that JSON has to escape.
TEST_F(TagDumpInteropTest, PrintsValidJsonThatMatchesTheLibrary)
{
    const std::filesystem::path path = m_dir.PathOf("tagged.mp3");
    WriteFileBytes(path, FixtureAudio());
    const std::string title = "Quote \" backslash \\ tab \t newline \n bell \x07 "
                              "\xC3\xA9 \xE2\x98\x83 \xF0\x9F\x98\x80";
    MutagenWrite(path, 4, 2,
                 {{"T", "TIT2", "1", title},
                  {"T", "TPE1", "3", "A", "B"},
                  {"T", "TRCK", "0", "4/9"},
                  {"T", "TDRC", "0", "1999"},
                  {"T", "TCON", "0", "(17)"},
                  {"COMM", "1", "eng", "", "Comment"},
                  {"TXXX", "1", "Mood", "Calm"},
                  {"APIC", "0", "image/png", "3", "Front", Hex(TestPng())},
                  {"W", "WOAR", "http://artist.example/"},
                  {"POPM", "a@b.c", "5", "6"},
                  {"PRIV", "owner", "00ff"}},
                 m_dir.GetPath());
    const JsonValues json = Dump(path);
    ExpectJsonMatchesLibrary(json, path);
    ExpectString(json, "tag.title", title);
    ExpectString(json, "summary", "ID3v1 ID3v2.4");
    ExpectScalar(json, "id3v2.frames", "array", "11");
}

// Every corpus file, damaged ones included, gives valid JSON that says what the library reads.
TEST_F(TagDumpInteropTest, PrintsValidJsonForEveryCorpusFile)
{
    const CCorpusCopy corpus;
    std::vector<std::filesystem::path> files;
    std::vector<std::string> outputs;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus.GetRoot()))
    {
        if (!entry.is_regular_file())
            continue;
        files.push_back(entry.path());
        const tagPROCESSRESULT result = TagDump({entry.path().string()});
        EXPECT_EQ(result.nExitCode, 0) << Describe({entry.path().string()}, result);
        outputs.push_back(result.strOut);
    }
    ASSERT_FALSE(files.empty());
    const std::vector<JsonValues> parsed = ParseJson(outputs);
    ASSERT_EQ(parsed.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i)
    {
        SCOPED_TRACE(files[i].string());
        ExpectJsonMatchesLibrary(parsed[i], files[i]);
    }
}

// A truncated copy of a real file, whose tag claims more than the file holds, saved as 2.3 and as
// 2.4: mutagen reads the frames the library read, the compressed picture decompressed to the
// length its frame declares.
TEST_F(TagDumpInteropTest, SavesATruncatedCopyThatMutagenReads)
{
    const CCorpusCopy corpus;
    const std::filesystem::path path = corpus.GetRoot() / "taglib" / "compressed_id3_frame.mp3";
    const Bytes original = ReadFileBytes(path);
    UINT nPictureLength = 0;
    {
        CMpegFile file(ToCString(path), FALSE);
        ASSERT_NE(file.GetID3v2(FALSE), nullptr);
        const CFrame* pPicture = file.GetID3v2(FALSE)->FindFrame("APIC");
        ASSERT_NE(pPicture, nullptr);
        nPictureLength = pPicture->m_pHeader->m_nDataLength;
    }
    const std::string title = "Braveheart Theme (Techno remix)";
    std::string pictureData; // as read from the first save
    for (const char* pszVersion : {"3", "4"})
    {
        const std::string version = pszVersion;
        SCOPED_TRACE(version);
        WriteFileBytes(path, original);
        const tagPROCESSRESULT result =
            TagDump({"--id3v2-version", version, "--encoding", "1", "--no-id3v1", "--set",
                     "title=" + title, path.string()});
        ASSERT_EQ(result.nExitCode, 0) << result.strErr;

        tagTAGVIEW peer = MutagenRead(path);
        EXPECT_EQ(peer.nID3v2Version, std::stoi(version));
        const auto picture = std::find_if(peer.frames.begin(), peer.frames.end(),
                                          [](const Record& r) { return r[0] == "APIC"; });
        ASSERT_NE(picture, peer.frames.end());
        ASSERT_EQ(picture->size(), 6u);
        const std::string& mime = (*picture)[2];
        const std::string& description = (*picture)[4];
        const std::string& data = (*picture)[5];
        EXPECT_EQ(mime, "image/bmp");
        // The declared length counts the fields before the picture: the encoding, the MIME type
        // and the description with their terminators, and the picture type.
        EXPECT_EQ(data.size(), 2u * (nPictureLength - (mime.size() + description.size() + 4)));
        EXPECT_EQ(data.substr(0, 4), "424d"); // "BM"
        if (pictureData.empty())
            pictureData = data;
        EXPECT_EQ(data, pictureData);
        peer.frames.erase(picture);
        EXPECT_EQ(SortedLines(peer.frames), SortedLines({{"T", "TIT2", "1", title},
                                                         {"T", "TPE1", "1", "Moby"},
                                                         {"T", "TALB", "1", "<Undefined>"},
                                                         {"T", "TCON", "1", "Techno-Dance"}}));
        std::vector<Record> ours = LibraryRead(path).frames;
        std::erase(ours, Record{"OTHER", "APIC"});
        EXPECT_EQ(SortedLines(ours), SortedLines(peer.frames));
    }
}

// Text that is not valid UTF-16 (a lone surrogate) still gives valid JSON.
TEST_F(TagDumpInteropTest, PrintsValidJsonForBrokenUtf16)
{
    const Bytes body = {'T',  'I',  'T',  '2', 0x00, 0x00, 0x00, 0x09, 0x00, 0x00,
                        0x01, 0xFF, 0xFE, 'A', 0x00, 0x00, 0xD8, 'B',  0x00};
    const std::filesystem::path path = m_dir.PathOf("surrogate.mp3");
    WriteFileBytes(path, Concat({CMp3Builder::Id3v2Tag(3, 64, 0, body), FixtureAudio()}));
    const tagPROCESSRESULT result = TagDump({path.string()});
    EXPECT_EQ(result.nExitCode, 0);
    const std::vector<JsonValues> parsed = ParseJson({result.strOut});
    ASSERT_EQ(parsed.size(), 1u);
    ExpectJsonMatchesLibrary(parsed[0], path);
}

// Set, save, print: the printed JSON, the library and mutagen agree on the new tags, the audio
// stays, and removing the tags gives back the untagged file.
TEST_F(TagDumpInteropTest, WritesReadsAndRemoves)
{
    const std::filesystem::path path =
        MakeLameFile(m_dir.GetPath(), "cycle.mp3", 44100, 2, 15, {"-b", "128"});
    ASSERT_FALSE(path.empty());
    const Bytes original = ReadFileBytes(path);
    const std::string title = "Titel \xE2\x98\x83 \xC3\xA9";

    tagPROCESSRESULT result =
        TagDump({"--id3v2-version", "4", "--encoding", "3", "--set", "title=" + title, "--set",
                 "artist=The Artist", "--set", "album=The Album", "--set", "year=2021", "--set",
                 "comment=A comment", "--set", "track=7", "--set", "genre=Jazz", path.string()});
    ASSERT_EQ(result.nExitCode, 0) << result.strErr;
    std::vector<JsonValues> parsed = ParseJson({result.strOut});
    ASSERT_EQ(parsed.size(), 1u);
    ExpectJsonMatchesLibrary(parsed[0], path);
    ExpectString(parsed[0], "summary", "ID3v1 ID3v2.4");
    ExpectString(parsed[0], "tag.title", title);
    ExpectInt(parsed[0], "tag.track", 7);
    ExpectInt(parsed[0], "id3v1.genre", 8);
    EXPECT_EQ(CMp3Builder::AudioBytes(ReadFileBytes(path)), original);

    tagTAGVIEW peer = MutagenRead(path);
    EXPECT_EQ(peer.nID3v2Version, 4);
    EXPECT_EQ(SortedLines(peer.frames), SortedLines({{"T", "TIT2", "3", title},
                                                     {"T", "TPE1", "3", "The Artist"},
                                                     {"T", "TALB", "3", "The Album"},
                                                     {"T", "TDRC", "3", "2021"},
                                                     {"COMM", "3", "ENG", "", "A comment"},
                                                     {"T", "TRCK", "3", "7"},
                                                     {"T", "TCON", "3", "Jazz"}}));
    // ID3v1 holds the title in the ANSI code page: the snowman becomes "?".
    EXPECT_EQ(peer.id3v1, (Record{"Titel ? \xC3\xA9", "The Artist", "The Album", "2021",
                                  "A comment", "7", "8"}));

    // As 2.3 in UTF-16: the year frame is converted, the other fields stay.
    result = TagDump({"--id3v2-version", "3", "--encoding", "1", "--no-id3v1", "--set",
                      "title=Second", path.string()});
    ASSERT_EQ(result.nExitCode, 0) << result.strErr;
    peer = MutagenRead(path);
    EXPECT_EQ(peer.nID3v2Version, 3);
    EXPECT_EQ(SortedLines(peer.frames), SortedLines({{"T", "TIT2", "1", "Second"},
                                                     {"T", "TPE1", "1", "The Artist"},
                                                     {"T", "TALB", "1", "The Album"},
                                                     {"T", "TYER", "1", "2021"},
                                                     {"COMM", "1", "ENG", "", "A comment"},
                                                     {"T", "TRCK", "1", "7"},
                                                     {"T", "TCON", "1", "Jazz"}}));
    EXPECT_EQ(peer.id3v1[0], "Titel ? \xC3\xA9");
    EXPECT_EQ(CMp3Builder::AudioBytes(ReadFileBytes(path)), original);

    result = TagDump({"--remove-tags", "--no-id3v1", path.string()});
    ASSERT_EQ(result.nExitCode, 0) << result.strErr;
    parsed = ParseJson({result.strOut});
    ASSERT_EQ(parsed.size(), 1u);
    ExpectString(parsed[0], "summary", "ID3v1 ");
    peer = MutagenRead(path);
    EXPECT_EQ(peer.nID3v2Version, 0);
    EXPECT_TRUE(peer.bHasID3v1);

    result = TagDump({"--remove-tags", path.string()});
    ASSERT_EQ(result.nExitCode, 0) << result.strErr;
    EXPECT_EQ(ReadFileBytes(path), original);
}

} // namespace
