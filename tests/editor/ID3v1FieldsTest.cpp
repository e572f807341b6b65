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
    struct tagCASE
    {
        const char16_t* pszText;
        int nTrack;
    };
    const tagCASE kAccepted[] = {{u"0", 0},
                                 {u"255", 255},
                                 {u"", 0},
                                 {u"<Keep>", 0},
                                 {u"7/12", 7},
                                 {u" 12", 12},
                                 {u"<Copy from ID3v2>", 0},
                                 {u"+3", 3}};
    for (const tagCASE& c : kAccepted)
    {
        int nTrack = -1;
        EXPECT_TRUE(CheckTrackNumber(c.pszText, nTrack)) << CString(c.pszText).ToUtf8();
        EXPECT_EQ(nTrack, c.nTrack);
    }
    for (const char16_t* psz : {u"256", u"-1", u"999", u"4294967296", u"99999999999999999999"})
    {
        int nTrack = 42;
        EXPECT_FALSE(CheckTrackNumber(psz, nTrack)) << CString(psz).ToUtf8();
        EXPECT_EQ(nTrack, 42);
    }
}

TEST(ID3v1FieldsTest, GenreSelectionAndStoredIndex)
{
    EXPECT_EQ(GetGenreSelection(0), 0);
    EXPECT_EQ(GetGenreSelection(147), 147);
    EXPECT_EQ(GetGenreSelection(148), -1);
    EXPECT_EQ(GetGenreSelection(255), -1);
    EXPECT_EQ(GetGenreToStore(17), 17);
    EXPECT_EQ(GetGenreToStore(-1), 255);
    // The multi-file editor's two placeholder entries follow the genres.
    EXPECT_EQ(GetGenreToStore(148), 255);
    EXPECT_EQ(GetGenreToStore(149), 255);

    EXPECT_EQ(GetFieldTextLimit(FIELD_TITLE), 30);
    EXPECT_EQ(GetFieldTextLimit(FIELD_COMMENT), 30);
    EXPECT_EQ(GetFieldTextLimit(FIELD_YEAR), 4);
    EXPECT_EQ(GetFieldTextLimit(FIELD_TRACK), 3);
}

TEST(ID3v1FieldsTest, LoadAndStoreTheSevenFields)
{
    const tagID3V1VALUES none = LoadID3v1Values(nullptr);
    EXPECT_TRUE(none.strTitle.IsEmpty());
    EXPECT_TRUE(none.strTrack.IsEmpty());
    EXPECT_EQ(none.nGenre, -1);

    CID3v1 tag;
    tag.SetTitle(u"Title");
    tag.SetYear(u"2001-05-06");
    tag.m_nGenre = 200;
    tagID3V1VALUES values = LoadID3v1Values(&tag);
    EXPECT_EQ(values.strTitle, CString(u"Title"));
    EXPECT_EQ(values.strYear, CString(u"2001-05-06"));
    EXPECT_EQ(values.strTrack, CString(u"0"));
    EXPECT_EQ(values.nGenre, -1);

    values.strAlbum = u"An album name that is longer than thirty";
    values.strComment = u"Comment";
    values.nGenre = 8;
    StoreID3v1Values(values, 9, tag);
    EXPECT_EQ(tag.GetAlbum(), CString(u"An album name that is longer t"));
    EXPECT_EQ(tag.GetComment(), CString(u"Comment"));
    EXPECT_EQ(tag.m_nGenre, 8);
    EXPECT_EQ(tag.m_nTrack, 9);
    // A genre index the box did not offer is stored as no genre.
    values.nGenre = -1;
    StoreID3v1Values(values, 0, tag);
    EXPECT_EQ(tag.m_nGenre, 255);
}

TEST(ID3v1FieldsTest, CopyFromID3v2FieldByField)
{
    CID3v2 source;
    source.AddTail(NewText("TIT2", u"A title of forty characters, more or les"));
    source.AddTail(NewText("TCON", u"jazz"));
    source.AddTail(NewText("TRCK", u"300/400"));
    source.AddTail(NewText("TYER", u"1999"));
    source.m_pHeader->m_nVersion = 3;

    CID3v1 target;
    target.SetArtist(u"Kept");
    EXPECT_TRUE(CopyFieldFromID3v2(FIELD_TITLE, source, target));
    EXPECT_TRUE(CopyFieldFromID3v2(FIELD_GENRE, source, target));
    EXPECT_TRUE(CopyFieldFromID3v2(FIELD_YEAR, source, target));
    EXPECT_EQ(target.GetTitle(), CString(u"A title of forty characters, m"));
    EXPECT_EQ(target.m_nGenre, 8);
    EXPECT_EQ(target.GetYear(), CString(u"1999"));
    EXPECT_EQ(target.GetArtist(), CString(u"Kept"));

    // Copied as it is, so that the track check sees it; the result warns whoever stores it.
    EXPECT_FALSE(CopyFieldFromID3v2(FIELD_TRACK, source, target));
    EXPECT_EQ(target.m_nTrack, 300);
    tagID3V1VALUES values;
    LoadID3v1Field(FIELD_TRACK, target, values);
    LoadID3v1Field(FIELD_TITLE, target, values);
    EXPECT_EQ(values.strTrack, CString(u"300"));
    EXPECT_EQ(values.strTitle, CString(u"A title of forty characters, m"));
    int nTrack = 0;
    EXPECT_FALSE(CheckTrackNumber(values.strTrack, nTrack));

    // An ID3v2 genre that is no ID3v1 genre name clears the genre; an absent one too.
    source.DeleteFrameByID("TCON");
    source.AddTail(NewText("TCON", u"Chillwave"));
    EXPECT_TRUE(CopyFieldFromID3v2(FIELD_GENRE, source, target));
    EXPECT_EQ(target.m_nGenre, 255);
    EXPECT_TRUE(CopyFieldFromID3v2(FIELD_COMMENT, source, target));
    EXPECT_TRUE(target.GetComment().IsEmpty());
}
