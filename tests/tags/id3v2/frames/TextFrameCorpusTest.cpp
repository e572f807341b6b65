#include "tags/file/RenderBuffer.h"
#include "tags/id3v2/GenreConversion.h"
#include "tags/id3v2/ID3v2Strings.h"
#include "tags/id3v2/frames/TextFrame.h"
#include "tags/id3v2/frames/UnknowFrame.h"
#include "tags/id3v2/frames/UserTextFrame.h"

#include "fixtures/FileBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using Tags::CRenderBuffer;
using namespace Tags::ID3v2Tag;
namespace fs = std::filesystem;

namespace
{

std::vector<BYTE> RenderBody(const CFrame& frame)
{
    CRenderBuffer buffer;
    frame.Render(buffer);
    return buffer.GetBytes();
}

} // namespace

// Real files, many damaged, read as frame bodies at many offsets: every slice parses, and text
// rewritten in UTF-16 reads back stable.
TEST(TextFrameCorpus, EverySliceParsesAndRewritesStably)
{
    const fs::path root(TW_CORPUS_DIR);
    ASSERT_TRUE(fs::is_directory(root));
    size_t nFiles = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root))
    {
        if (!entry.is_regular_file() || entry.path().extension() == ".md")
        {
            continue;
        }
        ++nFiles;
        const Fixtures::Bytes bytes = Fixtures::ReadFileBytes(entry.path());
        const size_t nEnd = std::min<size_t>(bytes.size(), 16384);
        for (size_t nOffset = 0; nOffset < nEnd; nOffset += 13)
        {
            const BYTE* pBody = bytes.data() + nOffset;
            const UINT nLength = static_cast<UINT>(std::min<size_t>(bytes.size() - nOffset, 257));

            CTextFrame text("TCON", 4);
            text.Parse(pBody, nLength);
            ConvertGenres(text);
            text.SetTextEncoding(TEXT_ENCODING_UTF16);
            const std::vector<BYTE> once = RenderBody(text);
            CTextFrame reread("TCON", 4);
            reread.Parse(once.data(), static_cast<UINT>(once.size()));
            const std::vector<BYTE> twice = RenderBody(reread);
            CTextFrame again("TCON", 4);
            again.Parse(twice.data(), static_cast<UINT>(twice.size()));
            EXPECT_EQ(again.m_values, reread.m_values) << entry.path() << " @" << nOffset;

            CUserTextFrame user;
            user.Parse(pBody, nLength);
            (void)user.GetText();

            CUnknowFrame unknown("XXXX", 4);
            unknown.Parse(pBody, nLength);
            EXPECT_EQ(RenderBody(unknown), std::vector<BYTE>(pBody, pBody + nLength));

            for (int nEncoding = 0; nEncoding < 5; ++nEncoding)
            {
                CString str;
                EXPECT_LE(DecodeTerminatedString(pBody, nLength, str, nEncoding), nLength);
            }
        }
    }
    EXPECT_GT(nFiles, 0U);
}
