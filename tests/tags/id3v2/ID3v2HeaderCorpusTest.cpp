// Reads the tag and frame headers of every real-world file, many of them damaged, as raw bytes:
// nothing may crash, read outside the bytes present or allocate more than the file holds.
#include "tags/id3v2/ID3v2FrameHeader.h"
#include "tags/id3v2/ID3v2Header.h"
#include "tags/id3v2/SyncSafe.h"
#include "tags/id3v2/Unsynchronisation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

using Tags::ID3v2Tag::CFrameHeader;
using Tags::ID3v2Tag::CHeader;
using Tags::ID3v2Tag::DecodeUnsynchronisation;
using Tags::ID3v2Tag::SYNCSAFE_MAX;

namespace
{

namespace fs = std::filesystem;
using Bytes = std::vector<BYTE>;

struct TagSummary
{
    BOOL bTag = FALSE;
    CHeader header;
    UINT nExtendedHeader = 0;
    std::vector<CFrameHeader> frames;
    BOOL bZeroSize = FALSE;
};

Bytes ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

BOOL IsValidID(const CFrameHeader& frame)
{
    const size_t nLength = frame.m_nVersion < 3 ? 3 : 4;
    for (size_t i = 0; i < nLength; ++i)
    {
        const char ch = frame.m_szID[i];
        if (!((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')))
        {
            return FALSE;
        }
    }
    return TRUE;
}

// Walks the frame headers the way the tag reader does, checking every bound on the way.
TagSummary Walk(const Bytes& file)
{
    TagSummary summary;
    const UINT nFileLength = static_cast<UINT>(file.size());
    if (!CHeader::IsHeader(file.data(), nFileLength))
    {
        return summary;
    }
    summary.bTag = TRUE;
    CHeader& header = summary.header;
    header.Parse(file.data(), nFileLength);
    EXPECT_LE(header.m_nSize, SYNCSAFE_MAX);
    EXPECT_GE(header.GetTagLength(), CHeader::HEADER_SIZE);

    // The body as far as the file holds it, whatever the size claims.
    const UINT nBody = std::min(header.m_nSize, nFileLength - CHeader::HEADER_SIZE);
    Bytes body(file.begin() + CHeader::HEADER_SIZE, file.begin() + CHeader::HEADER_SIZE + nBody);
    if (header.m_bUnsynchronisation && header.m_nVersion <= 3)
    {
        body = DecodeUnsynchronisation(body.data(), nBody);
        EXPECT_LE(body.size(), nBody);
    }
    const UINT nArea = static_cast<UINT>(body.size());
    summary.nExtendedHeader = header.GetExtendedHeaderSize(body.data(), nArea);
    EXPECT_LE(summary.nExtendedHeader, nArea);

    const UINT nHeaderSize = CFrameHeader::GetHeaderSize(header.m_nVersion);
    UINT nPos = summary.nExtendedHeader;
    while (nArea - nPos > nHeaderSize && body[nPos] != 0)
    {
        const UINT nLeft = nArea - nPos;
        CFrameHeader frame(body.data() + nPos, nLeft, header.m_nVersion);
        EXPECT_EQ(nHeaderSize, frame.GetHeaderSize());
        EXPECT_LE(frame.GetDataOffset(), nHeaderSize + 6);
        if (frame.m_nSize == 0)
        {
            summary.bZeroSize = TRUE;
            break;
        }
        if (frame.m_nSize > nLeft - nHeaderSize || !IsValidID(frame))
        {
            break;
        }
        const UINT nFrameLength = nHeaderSize + frame.m_nSize;
        if (header.m_nVersion >= 4 && (frame.m_bUnsynchronisation || header.m_bUnsynchronisation))
        {
            Bytes copy(body.begin() + nPos, body.begin() + nPos + nHeaderSize);
            const Bytes decoded =
                DecodeUnsynchronisation(body.data() + nPos + nHeaderSize, frame.m_nSize);
            EXPECT_LE(decoded.size(), frame.m_nSize);
            copy.insert(copy.end(), decoded.begin(), decoded.end());
            frame.ParseExtras(copy.data(), static_cast<UINT>(copy.size()));
        }
        summary.frames.push_back(frame);
        nPos += nFrameLength;
    }
    return summary;
}

std::map<std::string, TagSummary> WalkCorpus()
{
    std::map<std::string, TagSummary> result;
    const fs::path root(TW_CORPUS_DIR);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
    {
        if (!entry.is_regular_file() || entry.path().extension() == ".md")
        {
            continue;
        }
        const std::string strName = fs::relative(entry.path(), root).generic_string();
        SCOPED_TRACE(strName);
        result[strName] = Walk(ReadFile(entry.path()));
    }
    return result;
}

std::vector<std::string> IDs(const TagSummary& summary)
{
    std::vector<std::string> ids;
    for (const CFrameHeader& frame : summary.frames)
    {
        ids.emplace_back(frame.m_szID);
    }
    return ids;
}

class ID3v2HeaderCorpusTest : public ::testing::Test
{
protected:
    static const std::map<std::string, TagSummary>& Corpus()
    {
        static const std::map<std::string, TagSummary> corpus = WalkCorpus();
        return corpus;
    }

    static const TagSummary& Get(const std::string& strName)
    {
        static const TagSummary empty;
        const auto it = Corpus().find(strName);
        if (it == Corpus().end())
        {
            ADD_FAILURE() << "missing from the corpus: " << strName;
            return empty;
        }
        return it->second;
    }
};

} // namespace

TEST_F(ID3v2HeaderCorpusTest, EveryFileIsRead)
{
    EXPECT_GE(Corpus().size(), 40u);
    size_t nTags = 0;
    for (const auto& [strName, summary] : Corpus())
    {
        if (summary.bTag)
        {
            ++nTags;
            EXPECT_GE(summary.header.m_nVersion, 2) << strName;
            EXPECT_LE(summary.header.m_nVersion, 4) << strName;
        }
    }
    EXPECT_GE(nTags, 25u);
}

TEST_F(ID3v2HeaderCorpusTest, FilesWithoutTag)
{
    for (const char* pszName : {"taglib/garbage.mp3", "mutagen/emptyfile.mp3",
                                "mutagen/no-tags.mp3", "taglib/invalid-frames1.mp3"})
    {
        EXPECT_FALSE(Get(pszName).bTag) << pszName;
    }
}

TEST_F(ID3v2HeaderCorpusTest, Version22Frames)
{
    const TagSummary& tag = Get("mutagen/id3v22-test.mp3");
    EXPECT_EQ(2, tag.header.m_nVersion);
    EXPECT_EQ(2215u, tag.header.m_nSize);
    EXPECT_EQ((std::vector<std::string>{"TT2", "TP1", "TAL", "TRK", "TYE", "COM", "TEN", "COM",
                                        "COM", "COM"}),
              IDs(tag));
    EXPECT_EQ(6u, tag.frames.front().GetDataOffset());
}

TEST_F(ID3v2HeaderCorpusTest, Version23UnsynchronisedTagIsDecodedWhole)
{
    for (const char* pszName : {"mutagen/id3v23_unsynch.id3", "taglib/unsynch.id3"})
    {
        const TagSummary& tag = Get(pszName);
        EXPECT_EQ(3, tag.header.m_nVersion) << pszName;
        EXPECT_TRUE(tag.header.m_bUnsynchronisation) << pszName;
        EXPECT_EQ((std::vector<std::string>{"TIT2", "TPE1", "TALB", "TRCK", "TLEN"}), IDs(tag))
            << pszName;
        EXPECT_FALSE(tag.bZeroSize) << pszName;
    }
}

TEST_F(ID3v2HeaderCorpusTest, Version24UnsynchronisedFrame)
{
    const TagSummary& tag = Get("taglib/unsynch24.id3");
    ASSERT_EQ(1u, tag.frames.size());
    EXPECT_TRUE(tag.frames[0].m_bUnsynchronisation);
    EXPECT_FALSE(tag.frames[0].IsRawFormat());
    EXPECT_EQ(10u, tag.frames[0].GetDataOffset());
}

TEST_F(ID3v2HeaderCorpusTest, Version24ExtendedHeadersAreSkipped)
{
    const TagSummary& mutagen = Get("mutagen/id3v24_extended_header.id3");
    EXPECT_TRUE(mutagen.header.m_bExtendedHeader);
    EXPECT_EQ(12u, mutagen.nExtendedHeader);
    EXPECT_EQ((std::vector<std::string>{"COMM", "TCON", "TDRC", "TRCK", "TALB", "TIT2", "TPE1"}),
              IDs(mutagen));

    const TagSummary& taglib = Get("taglib/extended-header.mp3");
    EXPECT_EQ(12u, taglib.nExtendedHeader);
    ASSERT_EQ(7u, taglib.frames.size());
    EXPECT_STREQ("TDOR", taglib.frames.front().m_szID);
}

TEST_F(ID3v2HeaderCorpusTest, ExtendedHeaderFlagWithoutExtendedHeader)
{
    const TagSummary& tag = Get("mutagen/issue_21.id3");
    EXPECT_TRUE(tag.header.m_bExtendedHeader);
    EXPECT_EQ(0u, tag.nExtendedHeader);
    ASSERT_EQ(8u, tag.frames.size());
    EXPECT_STREQ("TIT2", tag.frames.front().m_szID);
}

TEST_F(ID3v2HeaderCorpusTest, CompressedFramesAreRaw)
{
    const TagSummary& v24 = Get("taglib/compressed_id3_frame.mp3");
    EXPECT_EQ(5102u, v24.header.m_nSize);
    ASSERT_EQ(5u, v24.frames.size());
    const CFrameHeader& apic = v24.frames[0];
    EXPECT_STREQ("APIC", apic.m_szID);
    EXPECT_TRUE(apic.m_bCompression);
    EXPECT_TRUE(apic.m_bDataLengthIndicator);
    EXPECT_TRUE(apic.IsRawFormat());
    EXPECT_EQ(14u, apic.GetDataOffset());
    EXPECT_EQ(86427u, apic.m_nDataLength);
    EXPECT_EQ(0x0009, apic.GetRenderFlags());
    EXPECT_FALSE(v24.frames[1].IsRawFormat());

    const TagSummary& v23 = Get("taglib/compressed_id3_frame_invalid.mp3");
    ASSERT_EQ(1u, v23.frames.size());
    EXPECT_TRUE(v23.frames[0].m_bCompression);
    EXPECT_EQ(14u, v23.frames[0].GetDataOffset());
    EXPECT_EQ(155u, v23.frames[0].m_nDataLength);
    EXPECT_EQ(0x0080, v23.frames[0].GetRenderFlags());
    EXPECT_TRUE(v23.bZeroSize);
}

TEST_F(ID3v2HeaderCorpusTest, HostileSizesStopTheWalk)
{
    // A tag size beyond the file, then a frame claiming about 90 MB.
    const TagSummary& tag = Get("taglib/excessive_alloc.mp3");
    EXPECT_EQ(1504u, tag.header.m_nSize);
    EXPECT_EQ(11u, tag.frames.size());
    EXPECT_FALSE(tag.bZeroSize);

    const TagSummary& broken = Get("mutagen/bad-POPM-frame.mp3");
    EXPECT_TRUE(broken.bZeroSize);
    EXPECT_TRUE(broken.frames.empty());
}
