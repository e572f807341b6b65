#include "interop/TagRecords.h"

#include "interop/PeerProcess.h"

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

#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <ostream>

using namespace Tags;
using namespace Tags::ID3v1Tag;
using namespace Tags::ID3v2Tag;

namespace Interop
{

namespace
{

std::string Utf8(const CString& str)
{
    return str.ToUtf8();
}

std::string Escape(const std::string& field)
{
    std::string out;
    for (char ch : field)
    {
        switch (ch)
        {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\0':
            out += "\\0";
            break;
        default:
            out += ch;
        }
    }
    return out;
}

std::string Unescape(const std::string& field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i)
    {
        if (field[i] != '\\' || i + 1 == field.size())
        {
            out += field[i];
            continue;
        }
        const char next = field[++i];
        switch (next)
        {
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case '0':
            out += '\0';
            break;
        default:
            out += next;
        }
    }
    return out;
}

std::string JoinFrom(const Record& record, size_t nFirst)
{
    std::string text;
    for (size_t i = nFirst; i < record.size(); ++i)
    {
        if (i != nFirst)
            text += "; ";
        text += record[i];
    }
    return text;
}

const Record* FindRecord(const tagTAGVIEW& view, const std::string& kind, const std::string& id)
{
    for (const Record& r : view.frames)
    {
        if (!r.empty() && r[0] == kind && (id.empty() || (r.size() > 1 && r[1] == id)))
            return &r;
    }
    return nullptr;
}

std::string TextOf(const tagTAGVIEW& view, const char* szID)
{
    const Record* pRecord = FindRecord(view, "T", szID);
    return pRecord ? JoinFrom(*pRecord, 3) : std::string();
}

int LeadingNumber(const std::string& text)
{
    int nValue = 0;
    for (char ch : text)
    {
        if (ch < '0' || ch > '9')
            break;
        nValue = nValue * 10 + (ch - '0');
    }
    return nValue;
}

} // namespace

std::ostream& operator<<(std::ostream& out, const tagBASICS& b)
{
    return out << "{title '" << b.strTitle << "', artist '" << b.strArtist << "', album '"
               << b.strAlbum << "', year '" << b.strYear << "', comment '" << b.strComment
               << "', track " << b.nTrack << ", genre '" << b.strGenre << "'}";
}

std::string FormatRecord(const Record& record)
{
    std::string line;
    for (size_t i = 0; i < record.size(); ++i)
    {
        if (i != 0)
            line += '\t';
        line += Escape(record[i]);
    }
    return line;
}

std::vector<Record> ParseRecords(const std::string& text)
{
    std::vector<Record> records;
    size_t nStart = 0;
    while (nStart < text.size())
    {
        size_t nEnd = text.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = text.size();
        const std::string line = text.substr(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        if (line.empty())
            continue;
        Record record;
        size_t nField = 0;
        while (true)
        {
            const size_t nTab = line.find('\t', nField);
            record.push_back(Unescape(line.substr(nField, nTab - nField)));
            if (nTab == std::string::npos)
                break;
            nField = nTab + 1;
        }
        records.push_back(std::move(record));
    }
    return records;
}

std::vector<std::string> SortedLines(const std::vector<Record>& records)
{
    std::vector<std::string> lines;
    for (const Record& r : records)
        lines.push_back(FormatRecord(r));
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string Hex(const BYTE* pData, size_t nSize)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    for (size_t i = 0; i < nSize; ++i)
    {
        text += kDigits[pData[i] >> 4];
        text += kDigits[pData[i] & 15];
    }
    return text;
}

std::string Hex(const std::vector<BYTE>& data)
{
    return Hex(data.data(), data.size());
}

std::string PythonPath()
{
    // Debian's own interpreter: the first python3 on the PATH may lack Debian's modules.
    return "/usr/bin/python3";
}

std::string HelperPath()
{
    return std::string(TW_INTEROP_DIR) + "/peer_tags.py";
}

std::string RunHelper(const std::vector<std::string>& args)
{
    std::vector<std::string> command = {PythonPath(), HelperPath()};
    command.insert(command.end(), args.begin(), args.end());
    const tagPROCESSRESULT result = RunProcess(
        command, {"LC_ALL=C.UTF-8", "PYTHONIOENCODING=utf-8", "PYTHONHOME", "PYTHONPATH"});
    if (result.nExitCode != 0)
    {
        ADD_FAILURE() << "the mutagen helper failed\n" << Describe(command, result);
        return {};
    }
    return result.strOut;
}

tagTAGVIEW MutagenRead(const std::filesystem::path& path)
{
    tagTAGVIEW view;
    for (Record& r : ParseRecords(RunHelper({"read", path.string()})))
    {
        if (r[0] == "ID3V2" && r.size() == 2)
            view.nID3v2Version = std::stoi(r[1]);
        else if (r[0] == "ID3V1")
        {
            view.bHasID3v1 = true;
            view.id3v1.assign(r.begin() + 1, r.end());
        }
        else if (r[0] != "NOID3V2" && r[0] != "NOID3V1")
            view.frames.push_back(std::move(r));
    }
    return view;
}

void MutagenWrite(const std::filesystem::path& path, int nVersion, int nV1Mode,
                  const std::vector<Record>& frames, const std::filesystem::path& workDir)
{
    const std::filesystem::path list = workDir / (path.filename().string() + ".frames");
    {
        std::ofstream out(list, std::ios::binary);
        for (const Record& r : frames)
            out << FormatRecord(r) << "\n";
    }
    RunHelper(
        {"write", path.string(), std::to_string(nVersion), std::to_string(nV1Mode), list.string()});
}

Record FrameRecord(const CFrame& frame)
{
    const std::string id = frame.GetID();
    if (auto* p = dynamic_cast<const CUserTextFrame*>(&frame))
    {
        Record r = {"TXXX", std::to_string(p->m_nEncoding)};
        for (const CString& value : p->m_values)
            r.push_back(Utf8(value));
        if (p->m_values.empty())
            r.push_back(""); // the description, which mutagen always has
        return r;
    }
    if (auto* p = dynamic_cast<const CTextFrame*>(&frame))
    {
        Record r = {"T", id, std::to_string(p->m_nEncoding)};
        for (const CString& value : p->m_values)
            r.push_back(Utf8(value));
        return r;
    }
    if (auto* p = dynamic_cast<const CCommentsFrame*>(&frame))
        return {"COMM", std::to_string(p->m_nEncoding), p->m_szLanguage, Utf8(p->m_strDescription),
                Utf8(p->m_strText)};
    if (auto* p = dynamic_cast<const CUnsynchronizedLyricsFrame*>(&frame))
        return {"USLT", std::to_string(p->m_nEncoding), p->m_szLanguage, Utf8(p->m_strDescription),
                Utf8(p->m_strText)};
    if (auto* p = dynamic_cast<const CTermOfUseFrame*>(&frame))
        return {"USER", std::to_string(p->m_nEncoding), p->m_szLanguage, Utf8(p->m_strText)};
    if (auto* p = dynamic_cast<const CPictureFrame*>(&frame))
        return {"APIC",
                std::to_string(p->m_nEncoding),
                Utf8(p->m_strMimeType),
                std::to_string(p->m_nPictureType & 0xFF),
                Utf8(p->m_strDescription),
                Hex(p->GetData(), p->GetDataSize())};
    if (auto* p = dynamic_cast<const CUserUrlLinkFrame*>(&frame))
        return {"WXXX", std::to_string(p->m_nEncoding), Utf8(p->m_strDescription),
                Utf8(p->m_strUrl)};
    if (auto* p = dynamic_cast<const CUrlLinkFrame*>(&frame))
        return {"W", id, Utf8(p->m_strUrl)};
    if (auto* p = dynamic_cast<const CPopularimeterFrame*>(&frame))
        return {"POPM", Utf8(p->m_strEmail), std::to_string(p->m_nRating),
                std::to_string(p->m_nCounter)};
    if (auto* p = dynamic_cast<const CPlayCounterFrame*>(&frame))
        return {"PCNT", std::to_string(p->m_nCounter)};
    if (auto* p = dynamic_cast<const CPrivateFrame*>(&frame))
        return {"PRIV", Utf8(p->m_strOwner), Hex(p->GetData(), p->GetDataSize())};
    return {"OTHER", id};
}

Record ID3v1Record(const CID3v1& tag)
{
    return {Utf8(tag.GetTitle()),        Utf8(tag.GetArtist()),  Utf8(tag.GetAlbum()),
            Utf8(tag.GetYear()),         Utf8(tag.GetComment()), std::to_string(tag.m_nTrack),
            std::to_string(tag.m_nGenre)};
}

tagTAGVIEW LibraryView(CMpegFile& file)
{
    tagTAGVIEW view;
    if (CID3v2* pTag = file.GetID3v2(FALSE))
    {
        view.nID3v2Version = pTag->m_pHeader->m_nVersion;
        for (const auto& pFrame : pTag->m_frames)
            view.frames.push_back(FrameRecord(*pFrame));
    }
    if (CID3v1* pTag = file.GetID3v1(FALSE))
    {
        view.bHasID3v1 = true;
        view.id3v1 = ID3v1Record(*pTag);
    }
    return view;
}

tagTAGVIEW LibraryRead(const std::filesystem::path& path)
{
    CMpegFile file(Fixtures::ToCString(path), FALSE);
    EXPECT_NE(file.m_hFile, INVALID_HANDLE_VALUE) << path;
    return LibraryView(file);
}

tagBASICS BasicsFromRecords(const tagTAGVIEW& view)
{
    tagBASICS b;
    b.strTitle = TextOf(view, "TIT2");
    b.strArtist = TextOf(view, "TPE1");
    b.strAlbum = TextOf(view, "TALB");
    const bool bYearFrame =
        view.nID3v2Version == 4 ? FindRecord(view, "T", "TDRC") : FindRecord(view, "T", "TYER");
    b.strYear =
        bYearFrame ? TextOf(view, view.nID3v2Version == 4 ? "TDRC" : "TYER") : TextOf(view, "TYER");
    if (const Record* pComment = FindRecord(view, "COMM", ""))
        b.strComment = JoinFrom(*pComment, 4);
    b.nTrack = LeadingNumber(TextOf(view, "TRCK"));
    b.strGenre = TextOf(view, "TCON");
    return b;
}

tagBASICS BasicsOf(const CID3v2& tag)
{
    return {Utf8(tag.GetTitle()), Utf8(tag.GetArtist()),  Utf8(tag.GetAlbum()),
            Utf8(tag.GetYear()),  Utf8(tag.GetComment()), Utf8(tag.GetGenre()),
            tag.GetTrack()};
}

tagBASICS BasicsOf(const CID3v1& tag)
{
    return {Utf8(tag.GetTitle()), Utf8(tag.GetArtist()),  Utf8(tag.GetAlbum()),
            Utf8(tag.GetYear()),  Utf8(tag.GetComment()), Utf8(tag.GetGenre()),
            tag.GetTrack()};
}

} // namespace Interop
