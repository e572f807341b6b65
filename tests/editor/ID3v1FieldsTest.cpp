#include "EditorFiles.h"

#include "editor/ID3v1Fields.h"

#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"

#include <gtest/gtest.h>

using EditorFiles::NewText;
using Tags::ID3v1Tag::CID3v1;
using Tags::ID3v2Tag::CID3v2;

TEST(ID3v1FieldsTest, TrackCheckTakesTheLeadingNumberInZeroTo255)
{
    const std::pair<const char16_t*, int> kAccepted[] = {
        {u"0", 0}, {u"255", 255}, {u"", 0}, {u"<Keep>", 0}, {u"7/12", 7}, {u" +12", 12}};
    for (const auto& [psz, nExpected] : kAccepted)
    {
        int nTrack = -1;
        EXPECT_TRUE(CheckTrackNumber(psz, nTrack)) << CString(psz).ToUtf8();
        EXPECT_EQ(nTrack, nExpected);
    }
    for (const char16_t* psz : {u"256", u"-1", u"999", u"4294967296"})
    {
        int nTrack = 42;
        EXPECT_FALSE(CheckTrackNumber(psz, nTrack)) << CString(psz).ToUtf8();
        EXPECT_EQ(nTrack, 42);
    }
}

TEST(ID3v1FieldsTest, LoadAndStoreTheSevenFields)
{
    EXPECT_EQ(LoadID3v1Values(nullptr).nGenre, -1);

    CID3v1 tag;
    tag.SetYear(u"2001-05-06");
    tag.m_nGenre = 200;
    tagID3V1VALUES values = LoadID3v1Values(&tag);
    EXPECT_EQ(values.strYear, CString(u"2001-05-06"));
    EXPECT_EQ(values.strTrack, CString(u"0"));
    // A genre byte that names no genre selects nothing and is stored as none.
    EXPECT_EQ(values.nGenre, -1);

    values.strAlbum = u"An album name that is longer than thirty";
    StoreID3v1Values(values, 9, tag);
    EXPECT_EQ(tag.GetAlbum(), CString(u"An album name that is longer t"));
    EXPECT_EQ(tag.m_nGenre, 255);
    EXPECT_EQ(tag.m_nTrack, 9);
    values.nGenre = 147;
    StoreID3v1Values(values, 0, tag);
    EXPECT_EQ(tag.m_nGenre, 147);
    // The multi-file editor's placeholder entries follow the genres.
    EXPECT_EQ(GetGenreToStore(148), 255);
}

TEST(ID3v1FieldsTest, CopyFromID3v2FieldByField)
{
    CID3v2 source;
    source.AddTail(NewText("TIT2", u"A title of forty characters, more or les"));
    source.AddTail(NewText("TCON", u"jazz"));
    source.AddTail(NewText("TRCK", u"300/400"));

    CID3v1 target;
    target.SetArtist(u"Kept");
    EXPECT_TRUE(CopyFieldFromID3v2(FIELD_TITLE, source, target));
    EXPECT_TRUE(CopyFieldFromID3v2(FIELD_GENRE, source, target));
    EXPECT_EQ(target.GetTitle(), CString(u"A title of forty characters, m"));
    EXPECT_EQ(target.m_nGenre, 8);
    EXPECT_EQ(target.GetArtist(), CString(u"Kept"));

    // Copied as it is, so that the track check refuses it; the result warns whoever stores it
    // without the check.
    EXPECT_FALSE(CopyFieldFromID3v2(FIELD_TRACK, source, target));
    tagID3V1VALUES values;
    LoadID3v1Field(FIELD_TRACK, target, values);
    EXPECT_EQ(values.strTrack, CString(u"300"));

    // An ID3v2 genre that is no ID3v1 genre name clears the genre.
    source.DeleteFrameByID("TCON");
    source.AddTail(NewText("TCON", u"Chillwave"));
    EXPECT_TRUE(CopyFieldFromID3v2(FIELD_GENRE, source, target));
    EXPECT_EQ(target.m_nGenre, 255);
}
