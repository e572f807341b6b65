// Fields read from file names, written through the multi-file write as ID3v2.3 and 2.4, read
// back by mutagen: the text frames with the values, the year in the frame of the version and
// never beside the other one.

#include "interop/InteropFiles.h"
#include "interop/TagRecords.h"

#include "base/BusyState.h"
#include "browser/DiagnosticMessages.h"
#include "editor/ActionList.h"
#include "editor/MultiTagWriting.h"
#include "editor/NameFields.h"
#include "fixtures/FileBytes.h"
#include "fixtures/TempDir.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/frames/TextFrame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

using namespace Fixtures;
using namespace Interop;

namespace
{

class CIdleBusy : public IBusyState
{
public:
    void BeginBusy() override {}
    void EndBusy() override {}
    BOOL IsCancelRequested() override { return FALSE; }
    BOOL IsBusy() const override { return FALSE; }
    void SetStatusText(const CString&) override {}
};

bool HasRecord(const tagTAGVIEW& view, const Record& record)
{
    return std::find(view.frames.begin(), view.frames.end(), record) != view.frames.end();
}

bool HasFrame(const tagTAGVIEW& view, const std::string& strID)
{
    return std::any_of(view.frames.begin(), view.frames.end(),
                       [&strID](const Record& r) { return r.size() > 1 && r[1] == strID; });
}

} // namespace

TEST(NameFieldsInteropTest, MutagenReadsTheFieldsAndOneYearFrame)
{
    for (const int nVersion : {3, 4})
    {
        SCOPED_TRACE("2." + std::to_string(nVersion));
        CTempDir dir;
        const auto path = dir.PathOf("01 - Artist - Title.mp3");
        WriteFileBytes(path, FixtureAudio());
        {
            // A year of the other version already there.
            Tags::CMpegFile file(ToCString(path), FALSE);
            auto pYear =
                std::make_unique<Tags::ID3v2Tag::CTextFrame>(nVersion == 3 ? "TDRC" : "TYER", 4);
            pYear->SetValues({CString(u"1980")});
            file.GetID3v2(TRUE)->AddTail(std::move(pYear));
            file.GetID3v2(TRUE)->m_pHeader->m_nVersion = nVersion == 3 ? 4 : 3;
            ASSERT_TRUE(file.SaveTags(Tags::TAG_ID3V2));
        }
        tagNAMEFIELDVALUES fields;
        fields.strTitle = u"Títle";
        fields.strArtist = u"Artist";
        fields.strTrack = u"07";
        fields.strYear = u"1999";
        CActionList actions;
        tagID3V1VALUES values;
        tagTAGOPTIONS options;
        options.nWriteVersion = nVersion;
        GetNameFieldChanges(fields, nVersion, actions, values);
        const auto provider = [&](size_t, tagFILECHANGES& changes)
        {
            changes.pActions = &actions;
            changes.pValues = &values;
            return TRUE;
        };
        CIdleBusy busy;
        CDiagnosticMessages diag;
        ASSERT_TRUE(WriteTagsToFiles({ToCString(path)}, provider, options, busy, &diag));
        ASSERT_EQ(diag.GetCount(), 0);

        const tagTAGVIEW peer = MutagenRead(path);
        EXPECT_EQ(peer.nID3v2Version, nVersion);
        EXPECT_TRUE(HasRecord(peer, {"T", "TIT2", "1", "T\xC3\xADtle"}));
        EXPECT_TRUE(HasRecord(peer, {"T", "TPE1", "1", "Artist"}));
        EXPECT_TRUE(HasRecord(peer, {"T", "TRCK", "1", "07"}));
        EXPECT_TRUE(HasRecord(peer, {"T", nVersion == 3 ? "TYER" : "TDRC", "1", "1999"}));
        EXPECT_FALSE(HasFrame(peer, nVersion == 3 ? "TDRC" : "TYER"));
        ASSERT_TRUE(peer.bHasID3v1);
        EXPECT_EQ(peer.id3v1[1], "Artist");
        EXPECT_EQ(peer.id3v1[5], "7");
    }
}
