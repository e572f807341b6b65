// What a reader sees in a file's tags, as records of text fields that compare across readers:
// one record per ID3v2 frame (its kind and every value the frame holds) and one for the ID3v1
// block. Built from mutagen's view through the peer_tags.py helper and from this library's own
// objects, so that a test compares the two record lists directly.
#pragma once

#include "base/Types.h"

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace Tags
{
class CMpegFile;
namespace ID3v1Tag
{
class CID3v1;
}
namespace ID3v2Tag
{
class CFrame;
class CID3v2;
} // namespace ID3v2Tag
} // namespace Tags

namespace Interop
{

using Record = std::vector<std::string>;

// The record kinds and fields are those printed by peer_tags.py (see its description).
struct tagTAGVIEW
{
    int nID3v2Version = 0;      // 0: no ID3v2 tag
    std::vector<Record> frames; // in file order
    bool bHasID3v1 = false;
    Record id3v1; // title, artist, album, year, comment, track, genre index
};

// The basic fields as the file list shows them.
struct tagBASICS
{
    std::string strTitle, strArtist, strAlbum, strYear, strComment, strGenre;
    int nTrack = 0;
    bool operator==(const tagBASICS&) const = default;
};
std::ostream& operator<<(std::ostream& out, const tagBASICS& basics);

// Fields joined by tabs, escaped as the helper escapes them.
std::string FormatRecord(const Record& record);
std::vector<Record> ParseRecords(const std::string& text);
// The records as lines, sorted: frame order is not a value readers agree on.
std::vector<std::string> SortedLines(const std::vector<Record>& records);

std::string Hex(const BYTE* pData, size_t nSize);
std::string Hex(const std::vector<BYTE>& data);

// The interpreter that holds Debian's python3-mutagen, and the helper script.
std::string PythonPath();
std::string HelperPath();

// Runs a helper command; adds a test failure and returns an empty text when it fails.
std::string RunHelper(const std::vector<std::string>& args);

// What mutagen reads from the file.
tagTAGVIEW MutagenRead(const std::filesystem::path& path);
// Tags the file with mutagen: the frames as ID3v2.nVersion, ID3v1 by mutagen's mode (0 remove,
// 1 update, 2 create). workDir receives the helper's input.
void MutagenWrite(const std::filesystem::path& path, int nVersion, int nV1Mode,
                  const std::vector<Record>& frames, const std::filesystem::path& workDir);

// This library's record of one frame, and its view of a whole file (through CMpegFile).
Record FrameRecord(const Tags::ID3v2Tag::CFrame& frame);
Record ID3v1Record(const Tags::ID3v1Tag::CID3v1& tag);
tagTAGVIEW LibraryView(Tags::CMpegFile& file);
tagTAGVIEW LibraryRead(const std::filesystem::path& path);

// The basic fields of an ID3v2 tag's records by the rules the library's getters follow: the
// first frame of each ID, values joined by "; ", the year from TDRC in a 2.4 tag and TYER
// otherwise (TYER when there is no TDRC), the comment's text, the leading number of TRCK.
tagBASICS BasicsFromRecords(const tagTAGVIEW& view);
// The basic fields through the library's CTagBase getters.
tagBASICS BasicsOf(const Tags::ID3v2Tag::CID3v2& tag);
tagBASICS BasicsOf(const Tags::ID3v1Tag::CID3v1& tag);

} // namespace Interop
