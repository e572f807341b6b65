// Every real-world file, many of them damaged, read as a tag through the file layer: nothing may
// crash, hang or allocate more than the file holds; what was read renders and reads back the
// same.
#include "AllocationWatch.h"
#include "ID3v2TagBytes.h"
#include "fixtures/CorpusCopy.h"

#include "tags/file/FileEx.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/Unsynchronisation.h"
#include "tags/id3v2/frames/TextFrame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>

using namespace TagBytes;

namespace
{

namespace fs = std::filesystem;

struct Snapshot
{
    std::string strID;
    std::vector<std::string> values; // text frames
    std::string strText;             // the others
    bool operator==(const Snapshot&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Snapshot& s)
{
    os << s.strID << " \"" << s.strText << "\"";
    for (const std::string& str : s.values)
    {
        os << " [" << str << "]";
    }
    return os;
}

// The frames a rendering writes: four-character IDs and a body.
std::vector<Snapshot> Written(const CID3v2& tag)
{
    std::vector<Snapshot> result;
    for (const auto& pFrame : tag.m_frames)
    {
        if (std::strlen(pFrame->GetID()) != 4 || Body(*pFrame).empty())
        {
            continue;
        }
        Snapshot s{pFrame->GetID(), Values(pFrame.get()), {}};
        if (dynamic_cast<const Tags::ID3v2Tag::CTextFrame*>(pFrame.get()) == nullptr)
        {
            s.strText = pFrame->GetText().ToUtf8();
        }
        result.push_back(std::move(s));
    }
    return result;
}

struct CorpusResult
{
    BOOL bTag = FALSE;
    BOOL bValid = FALSE;
    int nVersion = 0;
    std::vector<std::string> ids;
    // From the body bytes the file holds, however many the tag claims.
    BOOL bRawValid = FALSE;
    std::vector<std::string> rawIDs;
    std::vector<std::string> rawClasses;
};

// Renders the tag in the version it has (2.3 stays 2.3, the others become 2.4), reads the
// rendering back and checks that the written frames came back.
void CheckRoundTrip(CID3v2& tag)
{
    const Bytes rendered = Render(tag);
    auto pAgain = Reparse(rendered);
    EXPECT_TRUE(pAgain->m_bValid);
    EXPECT_EQ(Written(tag), Written(*pAgain));
    EXPECT_EQ(rendered, Render(*pAgain));
}

// Reads the file through the file layer and, when it has a tag, the body bytes it holds as raw
// bytes; checks the allocations and the round trip of both.
CorpusResult Examine(const fs::path& path)
{
    CorpusResult result;
    const size_t nFileSize = static_cast<size_t>(fs::file_size(path));
    Tags::CFileEx file;
    EXPECT_TRUE(file.OpenFile(Fixtures::ToCString(path)));
    CID3v2 tag;
    {
        CAllocationWatch watch;
        result.bTag = tag.Read(file);
        if (watch.IsActive())
        {
            // Room for the file layer's and the tag's own small objects.
            EXPECT_LE(watch.GetLargest(), nFileSize + 1024);
        }
    }
    result.bValid = tag.m_bValid;
    result.nVersion = tag.m_pHeader->m_nVersion;
    result.ids = IDs(tag);
    if (!result.bTag)
    {
        return result;
    }
    CheckRoundTrip(tag);

    // The frames of the body as far as the file holds it, however many bytes the tag claims.
    const Bytes bytes = Fixtures::ReadHeldFileBytes(path, file);
    CID3v2 raw;
    raw.m_pHeader->Parse(bytes.data(), static_cast<UINT>(bytes.size()));
    const size_t nBody = std::min<size_t>(raw.m_pHeader->m_nSize, bytes.size() - 10);
    Bytes body(bytes.begin() + 10, bytes.begin() + 10 + static_cast<std::ptrdiff_t>(nBody));
    if (raw.m_pHeader->m_bUnsynchronisation && raw.m_pHeader->m_nVersion <= 3)
    {
        body = Tags::ID3v2Tag::DecodeUnsynchronisation(body.data(), UINT(body.size()));
    }
    {
        CAllocationWatch watch;
        raw.ParseFrames(body.data(), static_cast<UINT>(body.size()));
        if (watch.IsActive())
        {
            EXPECT_LE(watch.GetLargest(), nFileSize + 1024);
        }
    }
    result.bRawValid = raw.m_bValid;
    result.rawIDs = IDs(raw);
    for (const auto& pFrame : raw.m_frames)
    {
        result.rawClasses.emplace_back(pFrame->GetRuntimeClassName());
    }
    CheckRoundTrip(raw);
    return result;
}

} // namespace

TEST(ID3v2TagCorpusTest, AllocationWatchSeesAllocations)
{
    CAllocationWatch watch;
    if (!watch.IsActive())
    {
        GTEST_SKIP() << "allocations are watched in sanitizer builds only";
    }
    const std::vector<BYTE> bytes(5000, 1);
    EXPECT_GE(watch.GetLargest(), 5000u);
    EXPECT_EQ(1, bytes[4999]);
}

TEST(ID3v2TagCorpusTest, EveryFileReadsRendersAndReadsBack)
{
    const Fixtures::CCorpusCopy corpus;
    const fs::path& root = corpus.GetRoot();
    size_t nFiles = 0;
    size_t nTags = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
    {
        if (!entry.is_regular_file() || entry.path().extension() == ".md")
        {
            continue;
        }
        SCOPED_TRACE(fs::relative(entry.path(), root).generic_string());
        ++nFiles;
        nTags += Examine(entry.path()).bTag ? 1 : 0;
    }
    EXPECT_GE(nFiles, 40u);
    EXPECT_GE(nTags, 25u);
}

// What some of the files are known to hold.
TEST(ID3v2TagCorpusTest, KnownFiles)
{
    const Fixtures::CCorpusCopy corpus;
    std::map<std::string, CorpusResult> results;
    auto get = [&results, &corpus](const std::string& strName) -> const CorpusResult&
    {
        SCOPED_TRACE(strName);
        auto it = results.find(strName);
        if (it == results.end())
        {
            it = results.emplace(strName, Examine(corpus.GetRoot() / strName)).first;
        }
        return it->second;
    };

    const CorpusResult& v22 = get("mutagen/id3v22-test.mp3");
    EXPECT_EQ(2, v22.nVersion);
    EXPECT_EQ((std::vector<std::string>{"TIT2", "TPE1", "TALB", "TRCK", "TDRC", "COMM", "TENC",
                                        "COMM", "COMM", "COMM"}),
              v22.ids);

    for (const char* pszName : {"mutagen/id3v23_unsynch.id3", "taglib/unsynch.id3"})
    {
        EXPECT_EQ((std::vector<std::string>{"TIT2", "TPE1", "TALB", "TRCK", "TLEN"}),
                  get(pszName).ids)
            << pszName;
    }
    EXPECT_EQ((std::vector<std::string>{"COMM", "TCON", "TDRC", "TRCK", "TALB", "TIT2", "TPE1"}),
              get("mutagen/id3v24_extended_header.id3").ids);
    EXPECT_EQ(8u, get("mutagen/issue_21.id3").ids.size());

    // Frames declaring size 0 among the others: marked damaged, every other frame read.
    const CorpusResult& badPopm = get("mutagen/bad-POPM-frame.mp3");
    EXPECT_FALSE(badPopm.bValid);
    EXPECT_EQ((std::vector<std::string>{"WXXX", "TIT2", "TRCK", "TDRC", "TCON", "TALB", "POPM",
                                        "TCOM", "TPE1", "COMM"}),
              badPopm.ids);

    // Tags that claim more than the file holds (truncated copies) hold the frames that fit whole
    // within the file and are marked damaged; their bytes hold compressed frames, kept raw.
    const CorpusResult& compressed = get("taglib/compressed_id3_frame.mp3");
    EXPECT_TRUE(compressed.bTag);
    EXPECT_FALSE(compressed.bValid);
    EXPECT_EQ((std::vector<std::string>{"APIC", "TIT2", "TPE1", "TALB", "TCON"}), compressed.ids);
    EXPECT_EQ(compressed.ids, compressed.rawIDs);
    ASSERT_FALSE(compressed.rawClasses.empty());
    EXPECT_EQ("CUnknowFrame", compressed.rawClasses.front());
    // Its WOAR frame declares size 0: left out, the frames after it read on.
    const CorpusResult& invalid = get("taglib/compressed_id3_frame_invalid.mp3");
    EXPECT_EQ((std::vector<std::string>{"APIC", "POPM", "TRCK", "TCON", "COMM", "TYER", "TALB",
                                        "TPE1", "TIT2"}),
              invalid.ids);
    EXPECT_EQ(invalid.ids, invalid.rawIDs);
    EXPECT_FALSE(invalid.bRawValid);

    for (const char* pszName : {"taglib/garbage.mp3", "mutagen/emptyfile.mp3",
                                "mutagen/no-tags.mp3", "taglib/invalid-frames1.mp3"})
    {
        EXPECT_FALSE(get(pszName).bTag) << pszName;
    }
    // The tag claims more than the file holds, and bytes that are no frame end its frames.
    const CorpusResult& excessive = get("taglib/excessive_alloc.mp3");
    EXPECT_FALSE(excessive.bValid);
    EXPECT_EQ((std::vector<std::string>{"TIT2", "TPE1", "TALB", "TRCK", "TCON", "COMM", "TDRC",
                                        "TSOP", "TCMP", "TXXX", "TXXX"}),
              excessive.ids);
}
