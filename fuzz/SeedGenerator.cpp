// Writes the seed inputs of every fuzz target: files built with the test fixtures (tags of each
// version and layout, audio of each kind) and, when given, the real-world files.
//   fuzz_seeds <output folder> [real-world folder]
// Each target's seeds go to <output folder>/<target>.
#include "fixtures/FileBytes.h"
#include "fixtures/Mp3Builder.h"

#include "base/String.h"
#include "browser/ColumnManager.h"
#include "rename/PresetData.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;
using Fixtures::Bytes;
using Fixtures::BytesOf;
using Fixtures::CMp3Builder;
using Fixtures::Concat;

namespace
{

Bytes BigEndian(UINT n, int nBytes)
{
    Bytes b;
    for (int i = nBytes - 1; i >= 0; --i)
        b.push_back(static_cast<BYTE>(n >> (8 * i)));
    return b;
}

Bytes SyncSafe(UINT n)
{
    return {BYTE((n >> 21) & 0x7F), BYTE((n >> 14) & 0x7F), BYTE((n >> 7) & 0x7F), BYTE(n & 0x7F)};
}

// A frame of the version: 2.2 has three-character IDs and three size bytes, 2.3 a 32-bit size,
// 2.4 a sync-safe one; both with two flag bytes.
Bytes Frame(std::string_view id, const Bytes& body, int nVersion, BYTE nStatus = 0,
            BYTE nFormat = 0)
{
    const UINT n = static_cast<UINT>(body.size());
    if (nVersion == 2)
        return Concat({BytesOf(id), BigEndian(n, 3), body});
    return Concat({BytesOf(id), nVersion == 3 ? BigEndian(n, 4) : SyncSafe(n),
                   Bytes{nStatus, nFormat}, body});
}

Bytes Text(BYTE nEncoding, std::string_view text)
{
    return Concat({Bytes{nEncoding}, BytesOf(text)});
}

// Frames of every class the tag library knows, in the version's IDs.
Bytes FrameSet(int nVersion)
{
    const Bytes utf16 = {1, 0xFF, 0xFE, 'H', 0, 'i', 0, 0, 0};
    const Bytes picture = Concat({Bytes{0}, BytesOf("image/png"), Bytes{0, 3}, BytesOf("Cover"),
                                  Bytes{0, 0x89, 'P', 'N', 'G', 13, 10, 26, 10, 1, 2, 3}});
    if (nVersion == 2)
        return Concat(
            {Frame("TT2", Text(0, "Title"), 2), Frame("TP1", utf16, 2),
             Frame("TYE", Text(0, "1999"), 2), Frame("TCO", Text(0, "(17)Rock"), 2),
             Frame("COM", Concat({Text(0, "eng"), Bytes{0}, BytesOf("Comment")}), 2),
             Frame("PIC",
                   Concat({Bytes{0}, BytesOf("PNG"), Bytes{3}, BytesOf("d"), Bytes{0, 1, 2, 3}}),
                   2),
             Frame("WXX", Concat({Text(0, "link"), Bytes{0}, BytesOf("http://x")}), 2),
             Frame("XYZ", Bytes{1, 2, 3}, 2)});
    return Concat(
        {Frame("TIT2", Text(0, "Title"), nVersion), Frame("TPE1", utf16, nVersion),
         Frame("TALB", Text(3, "Album \xc3\xa9"), nVersion),
         Frame(nVersion == 4 ? "TDRC" : "TYER", Text(0, "2004"), nVersion),
         Frame("TRCK", Text(0, "5/12"), nVersion),
         Frame("TCON", Concat({Text(0, "Rock"), Bytes{0}, BytesOf("Pop")}), nVersion),
         Frame("COMM", Concat({Text(0, "eng"), Bytes{0}, BytesOf("Comment")}), nVersion),
         Frame("TXXX", Concat({Text(0, "Mood"), Bytes{0}, BytesOf("Calm")}), nVersion),
         Frame("APIC", picture, nVersion),
         Frame("POPM", Concat({BytesOf("a@b"), Bytes{0, 196, 0, 0, 0, 7}}), nVersion),
         Frame("PCNT", Bytes{0, 0, 0, 42}, nVersion),
         Frame("PRIV", Concat({BytesOf("owner"), Bytes{0, 1, 2, 3}}), nVersion),
         Frame("WOAR", BytesOf("http://example.org"), nVersion),
         Frame("WXXX", Concat({Text(0, "desc"), Bytes{0}, BytesOf("http://x")}), nVersion),
         Frame("USLT", Concat({Text(0, "eng"), Bytes{0}, BytesOf("Lyrics")}), nVersion),
         Frame("USER", Concat({Text(0, "eng"), BytesOf("Terms")}), nVersion),
         Frame("TIPL", Concat({Text(0, "producer"), Bytes{0}, BytesOf("X")}), nVersion),
         Frame("ZZZZ", Bytes{9, 8, 7}, nVersion),
         // Compressed, encrypted and grouped frames are kept as they are.
         Frame("TPE2", Concat({BigEndian(5, 4), Bytes{0x78, 0x9C, 1, 2, 3}}), nVersion, 0,
               nVersion == 3 ? 0x80 : 0x09),
         Frame("TPE3", Text(0, "Grouped"), nVersion, 0, nVersion == 3 ? 0x20 : 0x40)});
}

Bytes Tag(int nVersion, const Bytes& body, BYTE nFlags = 0, UINT nPadding = 64)
{
    return CMp3Builder::Id3v2Tag(nVersion, static_cast<UINT>(body.size()) + nPadding, nFlags, body);
}

// Each tag layout: every version, an extended header, whole-tag unsynchronisation, a footer, a
// zero-size frame, a frame that does not fit, a size past the end of the file.
std::vector<Bytes> Tags()
{
    std::vector<Bytes> arr;
    for (int v = 2; v <= 4; ++v)
        arr.push_back(Tag(v, FrameSet(v)));
    arr.push_back(Tag(3, Concat({BigEndian(6, 4), Bytes{0, 0, 0, 0, 0, 0}, FrameSet(3)}), 0x40));
    arr.push_back(Tag(4, Concat({SyncSafe(6), Bytes{1, 0}, FrameSet(4)}), 0x40));
    arr.push_back(Tag(3, Concat({Frame("TIT2", Text(0, "\xff\xe0\xff"), 3), FrameSet(3)}), 0x80));
    arr.push_back(Tag(4, FrameSet(4), 0x10));
    arr.push_back(Tag(3, Concat({Frame("TIT2", Text(0, "A"), 3), Frame("POPM", {}, 3),
                                 Frame("TPE1", Text(0, "After"), 3)})));
    arr.push_back(Tag(4, Concat({Frame("TIT2", Text(0, "A"), 4), BytesOf("TPE1"), SyncSafe(100000),
                                 Bytes{0, 0}, BytesOf("x")})));
    const Bytes hostile = Tag(3, Frame("TIT2", Text(0, "Big"), 3), 0, 0);
    Bytes claim = hostile;
    const Bytes big = SyncSafe(1 << 27);
    std::copy(big.begin(), big.end(), claim.begin() + 6);
    arr.push_back(claim);
    arr.push_back(Tag(4, {}, 0, 0));
    return arr;
}

// Audio of each kind: plain frames, a Xing and an Info header, MPEG-2 and 2.5, layer I and II,
// free format, garbage first.
std::vector<Bytes> Audio()
{
    std::vector<Bytes> arr;
    CMp3Builder::FrameSpec cbr;
    arr.push_back(CMp3Builder().AddFrames(cbr, 6).Build());
    arr.push_back(CMp3Builder().AddXingFrame(cbr).AddFrames(cbr, 5).Build());
    CMp3Builder::XingSpec info;
    info.m_bInfo = TRUE;
    arr.push_back(CMp3Builder().AddXingFrame(cbr, info).AddFrames(cbr, 5).Build());
    CMp3Builder::FrameSpec mpeg2;
    mpeg2.m_nVersion = CMp3Builder::MPEG2;
    mpeg2.m_nSampleRate = 22050;
    mpeg2.m_nBitrate = 64;
    mpeg2.m_nChannelMode = CMp3Builder::MONO;
    arr.push_back(CMp3Builder().AddXingFrame(mpeg2).AddFrames(mpeg2, 5).Build());
    CMp3Builder::FrameSpec mpeg25 = mpeg2;
    mpeg25.m_nVersion = CMp3Builder::MPEG25;
    mpeg25.m_nSampleRate = 11025;
    mpeg25.m_nBitrate = 32;
    arr.push_back(CMp3Builder().AddFrames(mpeg25, 4).Build());
    CMp3Builder::FrameSpec layer1 = cbr;
    layer1.m_nLayer = 1;
    layer1.m_nBitrate = 256;
    layer1.m_bProtected = TRUE;
    arr.push_back(CMp3Builder().AddFrames(layer1, 4).Build());
    CMp3Builder::FrameSpec layer2 = cbr;
    layer2.m_nLayer = 2;
    layer2.m_nBitrate = 192;
    arr.push_back(CMp3Builder().AddFrames(layer2, 4).Build());
    CMp3Builder::FrameSpec free = cbr;
    free.m_nBitrate = 0;
    free.m_nFrameLength = 300;
    arr.push_back(CMp3Builder().AddXingFrame(free).AddFrames(free, 3).Build());
    arr.push_back(CMp3Builder()
                      .AddGarbage(Bytes{0xFF, 0xFF, 0xFE, 0x00, 0xFF, 0xE0})
                      .AddFrames(cbr, 4)
                      .Build());
    return arr;
}

class CSeeds
{
public:
    explicit CSeeds(fs::path root) : m_root(std::move(root)) {}

    void Add(const std::string& strTarget, const Bytes& bytes)
    {
        const fs::path folder = m_root / strTarget;
        fs::create_directories(folder);
        char szName[32];
        std::snprintf(szName, sizeof(szName), "seed-%04d", m_nCount++);
        Fixtures::WriteFileBytes(folder / szName, bytes);
    }
    void Add(const std::string& strTarget, BYTE nOptions, const Bytes& bytes)
    {
        Add(strTarget, Concat({Bytes{nOptions}, bytes}));
    }

private:
    fs::path m_root;
    int m_nCount = 0;
};

Bytes V1(const std::string& strTitle, int nTrack)
{
    CMp3Builder::Id3v1Fields f;
    f.m_strTitle = strTitle;
    f.m_strArtist = "Artist";
    f.m_strAlbum = "Album";
    f.m_strYear = "1999";
    f.m_strComment = "Comment";
    f.m_nTrack = nTrack;
    f.m_nGenre = 17;
    return CMp3Builder::Id3v1Block(f);
}

void AddFiles(CSeeds& seeds, const Bytes& file)
{
    seeds.Add("id3v2", file);
    seeds.Add("id3v1", file);
    seeds.Add("mpegproperties", file);
    // Save both with a new title; remove both; save as 2.3 in UTF-8; clear (saving removes).
    for (const BYTE nOptions : {0x43, 0x07, 0x7B, 0x83, 0x01, 0x42})
        seeds.Add("mpegfile", nOptions, file);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: fuzz_seeds <output folder> [real-world folder]\n");
        return 2;
    }
    CSeeds seeds(argv[1]);

    const std::vector<Bytes> arrTags = Tags();
    const std::vector<Bytes> arrAudio = Audio();
    for (const Bytes& tag : arrTags)
    {
        AddFiles(seeds, Concat({tag, arrAudio[0], V1("Title", 3)}));
        // The frame area alone, after the options byte of the parsing run.
        seeds.Add("id3v2", 0x01, Bytes(tag.begin() + 10, tag.end()));
    }
    for (const Bytes& audio : arrAudio)
    {
        AddFiles(seeds, audio);
        AddFiles(seeds, Concat({arrTags[1], audio, V1("A title of thirty characters!!", 0)}));
    }
    seeds.Add("id3v1", V1("Title", 0));
    seeds.Add("id3v1", V1("", 255));
    seeds.Add("id3v1", BytesOf(std::string("TAG") + std::string(125, '\xe9')));
    AddFiles(seeds, {});
    AddFiles(seeds, V1("Only a block", 1));

    // Playlists: options 0 ".m3u", 1 ".m3u8", 2 ".lst".
    seeds.Add("playlist", 1,
              BytesOf("#EXTM3U\r\n#EXTINF:12, A - B\r\na.mp3\r\nsub\\c.mp3\r\n"
                      "x y.mp3\r\n../m/b.mp3\r\nsub\r\n# note\r\nmissing.mp3\r\n"));
    seeds.Add("playlist", 0, BytesOf("#extm3u\na.mp3\n\xe9t\xe9.mp3\nb.mp3"));
    seeds.Add("playlist", 1, BytesOf("\xef\xbb\xbf#EXTM3U\na.mp3\n"));
    seeds.Add("playlist", 2, BytesOf("a.mp3\nsub\nlist.m3u\nother.lst\n\n"));
    seeds.Add("playlist", 1, Concat({BytesOf("#EXTM3U\na.mp3"), Bytes{0}, BytesOf("x\nb.mp3\n")}));

    // Column layouts: the default, a reordered one, one with a bad index, trailing bytes.
    auto layout = [&](const std::vector<tagCOLUMNORDERENTRY>& arr, const Bytes& extra = {}) {
        seeds.Add("columnsorder", Concat({CColumnManager::EncodeLayout(arr), extra}));
    };
    layout({{0, 200}, {1, 80}, {2, 120}, {3, 80}, {4, 90}, {5, 90}});
    layout({{5, 90}, {0, 10}, {17, 300}, {3, 1}});
    layout({{0, 200}, {18, 80}});
    layout({{0, -5}, {2, 0x7FFFFFFF}}, Bytes{1, 2, 3});
    layout({});

    // Rename presets: the defaults, counter extremes, a pattern without its terminator.
    auto presets = [&](const std::vector<tagPRESETDATA>& arr)
    {
        Bytes bytes(arr.size() * PRESETDATA_SIZE);
        for (size_t i = 0; i < arr.size(); ++i)
            WritePresetBytes(arr[i], bytes.data() + i * PRESETDATA_SIZE);
        seeds.Add("autorenamepresets", bytes);
    };
    presets({MakePreset(u"%a - %t"), MakePreset(u"%n. %t", 1), MakePreset(u"%A\\%n %t", 0, 1, 2),
             MakePreset(u"%y - %l", 65535, 255, 5, FALSE)});
    presets({MakePreset(u"[%n] %a - %t (%l, %y)", 0, 1, 1)});
    tagPRESETDATA full = MakePreset(u"");
    for (char16_t& ch : full.szFormat)
        ch = u'x';
    presets({full});
    presets({});

    // Command lines, arguments separated by NUL bytes.
    auto args = [&](std::string_view text) { seeds.Add("commandline", BytesOf(text)); };
    args("/music/a.mp3|/music/b.mp3|/music/list.m3u");
    args(std::string_view("-EnableShellIntegration\0/a.mp3", 30));
    args(std::string_view("/Install\0-x\0a|b||c\0later", 24));
    args("/Uninstall");
    args(std::string_view("\xff\xfe.mp3|-dash|new\nline", 21));

    // The real-world files as they are.
    if (argc > 2)
    {
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(argv[2], ec))
        {
            if (!entry.is_regular_file() || entry.file_size() > 256 * 1024)
                continue;
            AddFiles(seeds, Fixtures::ReadFileBytes(entry.path()));
        }
    }
    return 0;
}
