#include "EditorFiles.h"

#include "base/BusyState.h"
#include "browser/DiagnosticMessages.h"
#include "editor/ActionList.h"
#include "editor/MultiTagWriting.h"
#include "editor/NameFields.h"
#include "fixtures/FileBytes.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace Tags;
using namespace Fixtures;

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

// "ID=value" for each action, "ID-" for a removal.
std::vector<std::string> Describe(const CActionList& actions)
{
    std::vector<std::string> result;
    for (const auto& pAction : actions)
    {
        std::string str = pAction->m_szFrameID;
        str += pAction->m_nType == ACTION_SET ? "=" + pAction->GetValueText().ToUtf8() : "-";
        result.push_back(str);
    }
    return result;
}

int CountFrames(const ID3v2Tag::CID3v2& tag, const std::string& strID)
{
    int nCount = 0;
    for (const auto& pFrame : tag.m_frames)
        nCount += strID == pFrame->GetID();
    return nCount;
}

} // namespace

TEST(NameFieldsTest, GivenFieldsBecomeFramesAndID3v1ValuesTheRestIsKept)
{
    tagNAMEFIELDVALUES fields;
    fields.strTitle = u"Jóga";
    fields.strTrack = u"7/12";
    fields.strYear = u"1997";
    fields.strGenre = u"rock";
    CActionList actions;
    tagID3V1VALUES values;
    GetNameFieldChanges(fields, 3, actions, values);
    EXPECT_EQ(Describe(actions), (std::vector<std::string>{"TIT2=Jóga", "TRCK=7/12", "TYER=1997",
                                                           "TDRC-", "TCON=rock"}));
    EXPECT_EQ(values.strTitle, CString(u"Jóga"));
    EXPECT_EQ(values.strTrack, CString(u"7"));
    EXPECT_EQ(values.strYear, CString(u"1997"));
    EXPECT_EQ(values.nGenre, 17);
    EXPECT_EQ(values.strArtist, CString(PLACEHOLDER_KEEP));
    EXPECT_EQ(values.strAlbum, CString(PLACEHOLDER_KEEP));
    EXPECT_EQ(values.strComment, CString(PLACEHOLDER_KEEP));

    // Version 4 dates in TDRC; a track or genre ID3v1 cannot hold is kept there.
    fields = tagNAMEFIELDVALUES();
    fields.strTrack = u"07";
    fields.strYear = u"2001";
    fields.strGenre = u"Nu Gaze";
    CActionList actions4;
    GetNameFieldChanges(fields, 4, actions4, values);
    EXPECT_EQ(Describe(actions4),
              (std::vector<std::string>{"TRCK=07", "TDRC=2001", "TYER-", "TCON=Nu Gaze"}));
    EXPECT_EQ(values.strTrack, CString(u"7"));
    EXPECT_EQ(values.nGenre, GENRE_ENTRY_KEEP);
    for (const char16_t* pszTrack : {u"A1", u"300"})
    {
        fields.strTrack = pszTrack;
        CActionList other;
        GetNameFieldChanges(fields, 4, other, values);
        EXPECT_EQ(values.strTrack, CString(PLACEHOLDER_KEEP)) << CString(pszTrack).ToUtf8();
    }
}

TEST(NameFieldsTest, ProviderWritesEachFileItsOwnFieldsAndSkipsTheOthers)
{
    CTempDir dir;
    std::vector<CString> files;
    for (const char* pszName : {"a.mp3", "b.mp3", "c.mp3"})
    {
        WriteFileBytes(dir.PathOf(pszName), EditorFiles::Audio());
        EditorFiles::SaveBothTags(dir.StrPathOf(pszName), u"Old");
        files.push_back(dir.StrPathOf(pszName));
    }
    {
        // A date of 2.4 in a file about to be written as 2.3 with a year from its name.
        CMpegFile file(files[0], FALSE);
        file.GetID3v2(TRUE)->AddTail(EditorFiles::NewText("TDRC", u"1990"));
        file.GetID3v2(TRUE)->AddTail(EditorFiles::NewText("TALB", u"Album"));
        ASSERT_TRUE(file.SaveTags(TAG_ID3V2));
    }
    const Bytes skipped = ReadFileBytes(dir.PathOf("b.mp3"));

    const CString kArtists[] = {u"First", u"", u"Third"};
    std::unique_ptr<CActionList> pActions;
    tagID3V1VALUES values;
    std::vector<size_t> asked;
    const auto provider = [&](size_t nIndex, tagFILECHANGES& changes)
    {
        asked.push_back(nIndex);
        if (kArtists[nIndex].IsEmpty())
            return FALSE;
        tagNAMEFIELDVALUES fields;
        fields.strArtist = kArtists[nIndex];
        fields.strYear = u"2002";
        pActions = std::make_unique<CActionList>();
        GetNameFieldChanges(fields, 3, *pActions, values);
        changes.pActions = pActions.get();
        changes.pValues = &values;
        return TRUE;
    };
    CIdleBusy busy;
    CDiagnosticMessages diag;
    EXPECT_TRUE(WriteTagsToFiles(files, provider, tagTAGOPTIONS(), busy, &diag));
    EXPECT_EQ(asked, (std::vector<size_t>{0, 1, 2}));
    EXPECT_EQ(diag.GetCount(), 0);
    EXPECT_EQ(ReadFileBytes(dir.PathOf("b.mp3")), skipped);

    for (size_t i : {size_t{0}, size_t{2}})
    {
        CMpegFile file(files[i], FALSE);
        const ID3v2Tag::CID3v2* pTag = file.GetID3v2(FALSE);
        ASSERT_NE(pTag, nullptr);
        EXPECT_EQ(pTag->GetArtist(), kArtists[i]);
        EXPECT_EQ(pTag->GetTitle(), CString(u"Old"));
        EXPECT_EQ(CountFrames(*pTag, "TYER"), 1);
        EXPECT_EQ(CountFrames(*pTag, "TDRC"), 0);
        EXPECT_EQ(file.GetID3v1(FALSE)->GetArtist(), kArtists[i]);
        EXPECT_EQ(file.GetID3v1(FALSE)->GetTitle(), CString(u"Old"));
    }
    CMpegFile first(files[0], FALSE);
    EXPECT_EQ(first.GetID3v2(FALSE)->GetAlbum(), CString(u"Album"));
    EXPECT_EQ(first.GetID3v2(FALSE)->GetYear(), CString(u"2002"));
}
