// Hostile files at the level of the container: sizes declared far beyond what the file holds,
// 100,000 tiny frames, a 50 MB picture, a file of 0 bytes, a FIFO or a folder where a file is
// expected, and names with line breaks, bars, leading dashes and bytes that are not UTF-8. Each
// is read and, where that makes sense, saved, with bounded memory and without hanging.
#include "AllocationWatch.h"
#include "ChildProcess.h"
#include "SaveFiles.h"

#include "base/Path.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/frames/PictureFrame.h"
#include "tags/mpeg/AudioProperties.h"

#include <cstdio>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace SaveFiles;

namespace
{

Bytes Audio()
{
    return SaveFiles::Audio(17, 20);
}

// A 2.3 frame with a body of any length, or a header that declares nDeclared bytes.
Bytes Frame23(const char* pszID, const Bytes& body, UINT nDeclared = 0)
{
    return CMp3Builder::Id3v2Frame23(pszID, body, nDeclared);
}

size_t FrameCount(const CMpegFile& file)
{
    const CID3v2* pTag = const_cast<CMpegFile&>(file).GetID3v2(FALSE);
    return pTag ? pTag->m_frames.size() : 0;
}

#ifndef _WIN32
// The address space the process takes now.
rlim_t AddressSpaceNow()
{
    unsigned long nPages = 0;
    if (FILE* p = std::fopen("/proc/self/statm", "r"))
    {
        if (std::fscanf(p, "%lu", &nPages) != 1)
            nPages = 0;
        std::fclose(p);
    }
    return static_cast<rlim_t>(nPages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
}
#endif

// Runs check (0 when all is well, else a code that names what failed) with bounded memory: in a
// child that may take no more than nExtra bytes of address space beyond the test's; in sanitizer
// builds, whose shadow memory needs the address space, in the test itself while no single
// allocation may exceed nLargest.
int WithBoundedMemory(size_t nExtra, size_t nLargest, const std::function<int()>& check)
{
    TagBytes::CAllocationWatch watch;
    if (watch.IsActive())
    {
        const int rc = check();
        if (rc != 0)
            return rc;
        return watch.GetLargest() <= nLargest ? 0 : 90;
    }
#ifdef _WIN32
    (void)nExtra;
    return check();
#else
    const rlim_t nLimit = AddressSpaceNow() + nExtra;
    return ChildProcess::Run([&]
                             { return ChildProcess::LimitAddressSpace(nLimit) ? check() : 91; });
#endif
}

class HostileInputTest : public ::testing::Test
{
protected:
    CString Write(const std::string& strName, const Bytes& bytes)
    {
        WriteFileBytes(m_dir.PathOf(strName), bytes);
        return m_dir.StrPathOf(strName);
    }
    Bytes Read(const std::string& strName) const { return ReadFileBytes(m_dir.PathOf(strName)); }

    CTempDir m_dir;
};

} // namespace

TEST_F(HostileInputTest, SizesDeclaredFarBeyondTheFile)
{
    const Bytes audio = Audio();
    // A frame that claims a gigabyte after a title; the tag itself claims what it holds.
    const Bytes title = Frame23("TIT2", Concat({Bytes{0}, BytesOf("Title")}));
    const Bytes picture = Frame23("APIC", Bytes(64, 1), 0x40000000);
    const Bytes frames = Concat({title, picture});
    const Bytes tag = CMp3Builder::Id3v2Tag(3, static_cast<UINT>(frames.size()), 0, frames);
    // An Xing header whose counts claim 4 G frames and bytes.
    CMp3Builder::XingSpec xing;
    xing.m_nFrames = 0xFFFFFFFFu;
    xing.m_nBytes = 0xFFFFFFFFu;
    const Bytes vbr =
        CMp3Builder().AddXingFrame(CMp3Builder::FrameSpec(), xing).AddFrames({}, 5).Build();
    const CString strPath = Write("a.mp3", Concat({tag, vbr, V1Block("V1")}));
    // And a tag header that claims the most a header can: 256 MB, in a file of a few KB.
    Bytes huge = CMp3Builder::Id3v2Tag(4, 0);
    huge[6] = huge[7] = huge[8] = huge[9] = 0x7F;
    const CString strHuge = Write("huge.mp3", Concat({huge, frames, audio}));

    const int rc = WithBoundedMemory(
        64 << 20, 1 << 20,
        [&]
        {
            {
                CMpegFile file(strPath, TRUE);
                if (!file.HasID3v2() || FrameCount(file) != 1 || !file.HasID3v1())
                    return 1;
                if (file.GetID3v2(FALSE)->GetTitle() != u"Title")
                    return 2;
                const CAudioProperties* pProperties = file.GetAudioProperties();
                if (!pProperties || pProperties->GetLength() < 0 || pProperties->GetBitrate() < 0)
                    return 3;
                SetTitle(file, u"New");
                if (!file.SaveTags(TAG_ID3V1 | TAG_ID3V2))
                    return 4;
            }
            CMpegFile again(strPath, TRUE);
            if (again.GetID3v2(FALSE)->GetTitle() != u"New")
                return 5;

            // The tag ends after its title, the last frame that fits: replacing it keeps the
            // frame that claims a gigabyte, and the audio, as they are.
            CMpegFile file(strHuge, TRUE);
            if (!file.HasID3v2() || FrameCount(file) != 1 ||
                file.GetID3v2Size() != huge.size() + title.size())
                return 6;
            SetTitle(file, u"New");
            return file.SaveTags(TAG_ID3V2) ? 0 : 7;
        });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(CMp3Builder::AudioBytes(Read("a.mp3")), vbr);
    const Bytes kept = Concat({picture, audio});
    const Bytes after = Read("huge.mp3");
    ASSERT_GT(after.size(), kept.size());
    EXPECT_EQ(Bytes(after.end() - static_cast<std::ptrdiff_t>(kept.size()), after.end()), kept);
}

TEST_F(HostileInputTest, HundredThousandTinyFrames)
{
    const size_t nFrames = 100000;
    Bytes frames;
    frames.reserve(nFrames * 13);
    const Bytes one = Frame23("TIT3", Bytes{0, 'a', 0});
    for (size_t i = 0; i < nFrames; ++i)
        frames.insert(frames.end(), one.begin(), one.end());
    const Bytes audio = Audio();
    const CString strPath = Write(
        "many.mp3", Concat({CMp3Builder::Id3v2Tag(3, static_cast<UINT>(frames.size()), 0, frames),
                            audio, V1Block("V1")}));

    // A few hundred bytes per frame at most, no allocation of more than a few tags' worth.
    const int rc = WithBoundedMemory(
        nFrames * 600, 8 * frames.size(),
        [&]
        {
            {
                CMpegFile file(strPath, TRUE);
                if (FrameCount(file) != nFrames)
                    return 1;
                if (!file.GetID3v2(FALSE)->GetTitle().IsEmpty() || !file.GetID3v2(FALSE)->m_bValid)
                    return 2;
                SetTitle(file, u"The last of many");
                file.GetID3v1(FALSE)->SetTitle(u"Many");
                if (!file.SaveTags(TAG_ID3V1 | TAG_ID3V2))
                    return 3;
            }
            CMpegFile again(strPath, TRUE);
            if (FrameCount(again) != nFrames + 1 ||
                again.GetID3v2(FALSE)->GetTitle() != u"The last of many")
                return 4;
            return 0;
        });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(CMp3Builder::AudioBytes(Read("many.mp3")), audio);
}

TEST_F(HostileInputTest, FiftyMegabytePicture)
{
    const size_t nPicture = 50u << 20;
    Bytes body = Concat({Bytes{0}, BytesOf("image/png"), Bytes{0, 3}, BytesOf("Cover"), Bytes{0}});
    const size_t nHeader = body.size();
    body.resize(nHeader + nPicture);
    for (size_t i = nHeader; i < body.size(); i += 4096)
        body[i] = static_cast<BYTE>(i >> 12);
    const Bytes frames =
        Concat({Frame23("TIT2", Concat({Bytes{0}, BytesOf("Old")})), Frame23("APIC", body)});
    body = Bytes();
    const Bytes audio = Audio();
    const CString strPath =
        Write("cover.mp3",
              Concat({CMp3Builder::Id3v2Tag(3, static_cast<UINT>(frames.size()) + 1024, 0, frames),
                      audio}));

    // The tag is held a few times over while it is read and rendered, never more.
    const int rc =
        WithBoundedMemory(8 * nPicture, 3 * nPicture,
                          [&]
                          {
                              {
                                  CMpegFile file(strPath, TRUE);
                                  const auto* pPicture = dynamic_cast<const CPictureFrame*>(
                                      file.GetID3v2(FALSE)->FindFrame("APIC"));
                                  if (!pPicture || pPicture->GetDataSize() != nPicture)
                                      return 1;
                                  if (pPicture->GetText() != u"[image/png] Cover")
                                      return 2;
                                  // Fits the padding: written in place.
                                  const UINT nOld = file.GetID3v2Size();
                                  SetTitle(file, u"New");
                                  if (!file.SaveTags(TAG_ID3V2) || file.GetID3v2Size() != nOld)
                                      return 3;
                              }
                              {
                                  CMpegFile file(strPath, TRUE);
                                  if (file.GetID3v2(FALSE)->GetTitle() != u"New")
                                      return 4;
                                  if (!file.RemoveTags(TAG_ID3V2))
                                      return 5;
                              }
                              return 0;
                          });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(Read("cover.mp3"), audio);
}

TEST_F(HostileInputTest, FileOfZeroBytes)
{
    const CString strPath = Write("empty.mp3", {});
    {
        CMpegFile file(strPath, TRUE);
        ASSERT_NE(file.m_hFile, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(file.HasID3v2());
        EXPECT_FALSE(file.HasID3v1());
        ASSERT_NE(file.GetAudioProperties(), nullptr);
        EXPECT_EQ(file.GetAudioProperties()->GetLength(), 0);
        EXPECT_EQ(file.GetAudioProperties()->GetBitrate(), 0);
        EXPECT_TRUE(file.RemoveTags(TAG_ID3V1 | TAG_ID3V2));
        SetTitle(file, u"Title");
        file.GetID3v1(TRUE)->SetTitle(u"Title");
        ASSERT_TRUE(file.SaveTags(TAG_ID3V1 | TAG_ID3V2));
    }
    {
        CMpegFile file(strPath, TRUE);
        EXPECT_EQ(file.GetLength(), file.GetID3v2Size() + 128u);
        EXPECT_EQ(file.GetID3v2(FALSE)->GetTitle(), u"Title");
        EXPECT_EQ(file.GetID3v1(FALSE)->GetTitle(), u"Title");
        ASSERT_TRUE(file.RemoveTags(TAG_ID3V1 | TAG_ID3V2));
    }
    EXPECT_EQ(Read("empty.mp3"), Bytes{});
}

#ifndef _WIN32

TEST_F(HostileInputTest, FifoOrFolderWhereAFileIsExpected)
{
    ASSERT_EQ(::mkfifo(m_dir.PathOf("pipe.mp3").c_str(), 0600), 0);
    fs::create_directory(m_dir.PathOf("folder.mp3"));
    // In a child with an alarm: opening a FIFO for reading would wait for a writer for ever.
    for (const char* pszName : {"pipe.mp3", "folder.mp3"})
    {
        SCOPED_TRACE(pszName);
        const CString strPath = m_dir.StrPathOf(pszName);
        const int rc = ChildProcess::Run(
            [&]
            {
                ::alarm(10);
                CMpegFile file(strPath, TRUE);
                if (file.m_hFile != INVALID_HANDLE_VALUE)
                    return 1;
                if (file.GetID3v1(FALSE) || file.GetID3v2(FALSE) || file.GetAudioProperties())
                    return 2;
                SetTitle(file, u"Never");
                if (file.SaveTags(TAG_ID3V1 | TAG_ID3V2) || file.RemoveTags(TAG_ID3V1 | TAG_ID3V2))
                    return 3;
                return 0;
            });
        EXPECT_EQ(rc, 0);
    }
    EXPECT_TRUE(fs::is_fifo(m_dir.PathOf("pipe.mp3")));
    EXPECT_TRUE(fs::is_empty(m_dir.PathOf("folder.mp3")));
}

TEST_F(HostileInputTest, NamesWithLineBreaksBarsDashesAndBytesThatAreNotUtf8)
{
    const std::vector<std::string> arrNames = {
        "line\nbreak.mp3", "a|b|c.mp3",         "-dash.mp3",         "--remove-tags",
        "\xff\xfe.mp3",    "caf\xe9 \xc3(.mp3", "\r\n|-\x80\x01.mp3"};
    const Bytes audio = Audio();
    for (const std::string& strName : arrNames)
    {
        SCOPED_TRACE(strName);
        const fs::path path = m_dir.GetPath() / strName;
        WriteFileBytes(path, Concat({audio, V1Block("Old")}));
        // The name maps to a text and back to the same bytes.
        const CString strPath = Path::FromNative(path.native());
        EXPECT_EQ(Path::ToNative(strPath), path.native());
        {
            CMpegFile file(strPath, TRUE);
            ASSERT_NE(file.m_hFile, INVALID_HANDLE_VALUE);
            EXPECT_EQ(Path::ToNative(file.GetFileName()), strName);
            EXPECT_EQ(file.GetID3v1(FALSE)->GetTitle(), u"Old");
            // A save that rewrites the file beside itself, and one in place.
            SetTitle(file, u"New");
            file.GetID3v1(FALSE)->SetTitle(u"New");
            ASSERT_TRUE(file.SaveTags(TAG_ID3V1 | TAG_ID3V2));
            file.GetID3v1(FALSE)->SetTitle(u"Newer");
            ASSERT_TRUE(file.SaveTags(TAG_ID3V1));
        }
        CMpegFile again(strPath, TRUE);
        EXPECT_EQ(again.GetID3v2(FALSE)->GetTitle(), u"New");
        EXPECT_EQ(again.GetID3v1(FALSE)->GetTitle(), u"Newer");
        EXPECT_EQ(CMp3Builder::AudioBytes(ReadFileBytes(path)), audio);
        again.Close();
        fs::remove(path);
        EXPECT_TRUE(fs::is_empty(m_dir.GetPath())) << "something was left beside the file";
    }
}

#endif // _WIN32
