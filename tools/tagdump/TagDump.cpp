#include "tools/tagdump/TagDump.h"

#include "base/Path.h"
#include "res/StringTable.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v1/ID3v1Genres.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/ID3v2Header.h"
#include "tags/id3v2/frames/CommentsFrame.h"
#include "tags/id3v2/frames/TextFrame.h"
#include "tags/mpeg/AudioProperties.h"
#include "tags/mpeg/MpegProperties.h"
#include "tools/tagdump/JsonWriter.h"

#include <charconv>
#include <cstring>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

using namespace Tags;
using namespace Tags::ID3v1Tag;
using namespace Tags::ID3v2Tag;

namespace
{

constexpr int EXIT_OK = 0;
constexpr int EXIT_OPEN_FAILED = 1;
constexpr int EXIT_USAGE = 2;
constexpr int EXIT_SAVE_FAILED = 3;

const char* const kUsage =
    "usage: tagdump [--id3v2-version 3|4] [--encoding 0|1|3] [--no-id3v1] [--no-id3v2]\n"
    "               [--set FIELD=VALUE]... [--remove-tags] FILE\n"
    "FIELD is one of title, artist, album, year, comment, track, genre.\n";

const char* const kFields[] = {"title", "artist", "album", "year", "comment", "track", "genre"};

struct tagOPTIONS
{
    int nVersion = 3;
    int nEncoding = 1;
    bool bWriteID3v1 = true;
    bool bWriteID3v2 = true;
    bool bRemove = false;
    std::vector<std::pair<std::string, CString>> sets;
    std::string strFile;
};

bool ParseInt(const std::string& text, int& nValue)
{
    const char* pEnd = text.data() + text.size();
    const auto result = std::from_chars(text.data(), pEnd, nValue);
    return !text.empty() && result.ec == std::errc() && result.ptr == pEnd;
}

// Returns an empty text when the options are good, else what is wrong with them.
std::string ParseOptions(int argc, const char* const* argv, tagOPTIONS& options)
{
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        auto next = [&](std::string& value)
        {
            if (i + 1 >= argc)
                return false;
            value = argv[++i];
            return true;
        };
        std::string value;
        if (arg == "--id3v2-version")
        {
            if (!next(value) || !ParseInt(value, options.nVersion) ||
                (options.nVersion != 3 && options.nVersion != 4))
                return "--id3v2-version takes 3 or 4";
        }
        else if (arg == "--encoding")
        {
            if (!next(value) || !ParseInt(value, options.nEncoding) ||
                (options.nEncoding != 0 && options.nEncoding != 1 && options.nEncoding != 3))
                return "--encoding takes 0, 1 or 3";
        }
        else if (arg == "--no-id3v1")
            options.bWriteID3v1 = false;
        else if (arg == "--no-id3v2")
            options.bWriteID3v2 = false;
        else if (arg == "--remove-tags")
            options.bRemove = true;
        else if (arg == "--set")
        {
            if (!next(value))
                return "--set takes FIELD=VALUE";
            const size_t eq = value.find('=');
            const std::string field = value.substr(0, eq);
            bool bKnown = false;
            for (const char* known : kFields)
                bKnown = bKnown || field == known;
            if (eq == std::string::npos || !bKnown)
                return "unknown field in --set " + value;
            // Values are taken as UTF-8, the way a terminal passes them.
            options.sets.emplace_back(field, CString::FromUtf8(value.substr(eq + 1)));
        }
        else if (arg == "--")
        {
            if (i + 1 != argc - 1)
                return "one file is expected after --";
            options.strFile = argv[++i];
        }
        else if (arg.size() > 1 && arg[0] == '-')
            return "unknown option " + arg;
        else if (!options.strFile.empty())
            return "only one file is expected";
        else
            options.strFile = arg;
    }
    if (options.strFile.empty())
        return "no file given";
    // The options dialog allows UTF-8 only in ID3v2.4 tags.
    if (options.nEncoding == 3 && options.nVersion != 4)
        return "--encoding 3 needs --id3v2-version 4";
    if (options.bRemove && !options.sets.empty())
        return "--remove-tags does not go with --set";
    return {};
}

// The text frame with the ID, replaced (first one) or added.
void SetTextFrame(CID3v2& tag, const char* szID, const CString& value)
{
    CFrame* pFrame = tag.FindFrame(szID);
    if (auto* pText = dynamic_cast<CTextFrame*>(pFrame))
    {
        pText->SetValues({value});
        return;
    }
    if (pFrame)
        tag.DeleteFrame(pFrame);
    auto pNew = std::make_unique<CTextFrame>(szID, 4);
    pNew->SetValues({value});
    tag.AddTail(std::move(pNew));
}

void SetComment(CID3v2& tag, const CString& value)
{
    if (auto* pComment = dynamic_cast<CCommentsFrame*>(tag.FindFrame("COMM")))
    {
        pComment->m_strText = value;
        return;
    }
    auto pNew = std::make_unique<CCommentsFrame>();
    pNew->m_strText = value;
    tag.AddTail(std::move(pNew));
}

void DeleteAll(CID3v2& tag, const char* szID)
{
    while (tag.DeleteFrameByID(szID))
    {
    }
}

// The year goes into the year frame of the version the tag is written in; the other version's
// year frames would otherwise be converted into a second, older year.
void SetYear(CID3v2& tag, const CString& value, int nVersion)
{
    if (nVersion == 4)
    {
        DeleteAll(tag, "TYER");
        DeleteAll(tag, "TDAT");
        DeleteAll(tag, "TIME");
        SetTextFrame(tag, "TDRC", value);
    }
    else
    {
        DeleteAll(tag, "TDRC");
        SetTextFrame(tag, "TYER", value);
    }
}

void ApplySet(CMpegFile& file, const tagOPTIONS& options, const std::string& field,
              const CString& value)
{
    if (options.bWriteID3v2)
    {
        CID3v2& tag = *file.GetID3v2(TRUE);
        if (field == "title")
            SetTextFrame(tag, "TIT2", value);
        else if (field == "artist")
            SetTextFrame(tag, "TPE1", value);
        else if (field == "album")
            SetTextFrame(tag, "TALB", value);
        else if (field == "year")
            SetYear(tag, value, options.nVersion);
        else if (field == "comment")
            SetComment(tag, value);
        else if (field == "track")
            SetTextFrame(tag, "TRCK", value);
        else if (field == "genre")
            SetTextFrame(tag, "TCON", value);
    }
    if (options.bWriteID3v1)
    {
        CID3v1& tag = *file.GetID3v1(TRUE);
        if (field == "title")
            tag.SetTitle(value);
        else if (field == "artist")
            tag.SetArtist(value);
        else if (field == "album")
            tag.SetAlbum(value);
        else if (field == "year")
            tag.SetYear(value);
        else if (field == "comment")
            tag.SetComment(value);
        else if (field == "track")
        {
            int nTrack = 0;
            ParseInt(value.ToUtf8(), nTrack); // checked before anything changed
            tag.m_nTrack = nTrack;
        }
        else if (field == "genre")
        {
            const int nGenre = CID3v1::FindGenre(value);
            tag.m_nGenre = nGenre < 0 || nGenre >= ID3v1GenreCount ? CID3v1::NO_GENRE : nGenre;
        }
    }
}

CString TagSummary(CMpegFile& file)
{
    CString strTag;
    if (CID3v2* pTag = file.GetID3v2(FALSE))
        strTag.Format(pTag->m_bValid ? u"ID3v2.%d" : u"!ID3v2.%d", pTag->m_pHeader->m_nVersion);
    if (file.GetID3v1(FALSE))
        strTag = CString(u"ID3v1 ") + strTag;
    return strTag;
}

void WriteTagBase(CJsonWriter& json, const CTagBase* pTag)
{
    json.BeginObject();
    json.Key("title");
    json.String(pTag ? pTag->GetTitle() : CString());
    json.Key("artist");
    json.String(pTag ? pTag->GetArtist() : CString());
    json.Key("album");
    json.String(pTag ? pTag->GetAlbum() : CString());
    json.Key("year");
    json.String(pTag ? pTag->GetYear() : CString());
    json.Key("comment");
    json.String(pTag ? pTag->GetComment() : CString());
    json.Key("track");
    json.Int(pTag ? pTag->GetTrack() : 0);
    json.Key("genre");
    json.String(pTag ? pTag->GetGenre() : CString());
    json.EndObject();
}

std::string Dump(CMpegFile& file, const CString& strPath)
{
    CJsonWriter json;
    json.BeginObject();
    json.Key("path");
    json.String(strPath);
    const bool bOpened = file.m_hFile != INVALID_HANDLE_VALUE;
    json.Key("opened");
    json.Bool(bOpened);
    json.Key("read_only");
    json.Bool(bOpened && file.m_bReadOnly);
    json.Key("summary");
    json.String(TagSummary(file));

    CID3v1* pID3v1 = file.GetID3v1(FALSE);
    CID3v2* pID3v2 = file.GetID3v2(FALSE);
    json.Key("tag");
    WriteTagBase(json, pID3v2 ? static_cast<CTagBase*>(pID3v2) : pID3v1);

    json.Key("id3v1");
    if (pID3v1)
    {
        json.BeginObject();
        json.Key("title");
        json.String(pID3v1->GetTitle());
        json.Key("artist");
        json.String(pID3v1->GetArtist());
        json.Key("album");
        json.String(pID3v1->GetAlbum());
        json.Key("year");
        json.String(pID3v1->GetYear());
        json.Key("comment");
        json.String(pID3v1->GetComment());
        json.Key("track");
        json.Int(pID3v1->m_nTrack);
        json.Key("genre");
        json.Int(pID3v1->m_nGenre);
        json.EndObject();
    }
    else
        json.Null();

    json.Key("id3v2");
    if (pID3v2)
    {
        json.BeginObject();
        json.Key("version");
        json.Int(pID3v2->m_pHeader->m_nVersion);
        json.Key("valid");
        json.Bool(pID3v2->m_bValid);
        json.Key("size");
        json.Int(pID3v2->m_pHeader->m_nSize);
        json.Key("frames");
        json.BeginArray();
        for (const auto& pFrame : pID3v2->m_frames)
        {
            json.BeginObject();
            json.Key("id");
            json.String(CString(pFrame->GetID()));
            json.Key("class");
            json.String(CString(pFrame->GetRuntimeClassName()));
            json.Key("text");
            json.String(pFrame->GetText());
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    else
        json.Null();

    json.Key("audio");
    auto* pProperties = dynamic_cast<CMpegProperties*>(file.GetAudioProperties());
    if (pProperties)
    {
        json.BeginObject();
        json.Key("length");
        json.Int(pProperties->GetLength());
        json.Key("bitrate");
        json.Int(pProperties->GetBitrate());
        json.Key("sample_rate");
        json.Int(pProperties->GetSampleRate());
        json.Key("channels");
        json.Int(pProperties->GetChannels());
        json.Key("version");
        json.Int(pProperties->m_nVersion);
        json.Key("layer");
        json.Int(pProperties->m_nLayer);
        json.Key("channel_mode");
        json.Int(pProperties->m_nChannelMode);
        json.Key("emphasis");
        json.Int(pProperties->m_nEmphasis);
        json.Key("protected");
        json.Bool(pProperties->m_bProtected);
        json.Key("copyrighted");
        json.Bool(pProperties->m_bCopyrighted);
        json.Key("original");
        json.Bool(pProperties->m_bOriginal);
        json.EndObject();
    }
    else
        json.Null();
    json.EndObject();
    return json.GetText();
}

// Saves or removes as the editors do; FALSE (or an exception) when the file was not written.
BOOL Write(CMpegFile& file, const tagOPTIONS& options)
{
    UINT nFlags = 0;
    if (options.bWriteID3v1)
        nFlags |= TAG_ID3V1;
    if (options.bWriteID3v2)
        nFlags |= TAG_ID3V2;
    if (options.bRemove)
        return file.RemoveTags(nFlags);
    for (const auto& [field, value] : options.sets)
        ApplySet(file, options, field, value);
    if (CID3v2* pTag = file.GetID3v2(FALSE))
    {
        pTag->m_pHeader->m_nVersion = options.nVersion;
        pTag->m_nTextEncoding = options.nEncoding;
    }
    return file.SaveTags(nFlags);
}

} // namespace

int RunTagDump(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    tagOPTIONS options;
    const std::string strError = ParseOptions(argc, argv, options);
    if (!strError.empty())
    {
        err << "tagdump: " << strError << "\n" << kUsage;
        return EXIT_USAGE;
    }
    for (const auto& [field, value] : options.sets)
    {
        int nTrack = 0;
        if (field == "track" && options.bWriteID3v1 &&
            (!ParseInt(value.ToUtf8(), nTrack) || nTrack < 0 || nTrack > 255))
        {
            err << "tagdump: the track must be a number from 0 to 255\n";
            return EXIT_USAGE;
        }
    }

    const CString strPath = Path::GetFullPath(Path::FromNative(options.strFile));
    const bool bWrite = options.bRemove || !options.sets.empty();
    {
        CMpegFile file(strPath, TRUE);
        if (file.m_hFile == INVALID_HANDLE_VALUE)
        {
            err << Res::FormatResourceString(Res::IDS_FAILED_READING_FILE, strPath).ToUtf8()
                << "\n";
            return EXIT_OPEN_FAILED;
        }
        if (!bWrite)
        {
            out << Dump(file, strPath) << "\n";
            return EXIT_OK;
        }
        BOOL bSaved = FALSE;
        CString strReason;
        try
        {
            bSaved = Write(file, options);
        }
        catch (const CFileException& e)
        {
            strReason = e.GetErrorMessage();
        }
        if (!bSaved)
        {
            err << Res::FormatResourceString(Res::IDS_FAILED_WRITING_FILE, strPath).ToUtf8();
            if (!strReason.IsEmpty())
                err << " (" << strReason.ToUtf8() << ")";
            err << "\n";
            return EXIT_SAVE_FAILED;
        }
    }
    // What the file holds now, read as a new container would.
    CMpegFile file(strPath, TRUE);
    out << Dump(file, strPath) << "\n";
    return file.m_hFile == INVALID_HANDLE_VALUE ? EXIT_OPEN_FAILED : EXIT_OK;
}
