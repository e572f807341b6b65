#include "app/BusyState.h"
#include "browser/FileAssocData.h"
#include "rename/AutoRename.h"

#include <gtest/gtest.h>

#include "fixtures/FileBytes.h"
#include "fixtures/TempDir.h"

namespace
{

CFileAssocData Record(const char16_t* pszFileName)
{
    CFileAssocData record;
    record.m_strFolder = u"/nonexistent-folder";
    record.m_strFileName = pszFileName;
    return record;
}

struct Named
{
    CString strName;
    BOOL bAllFields;
};

Named Format(const CFileAssocData& record, const char16_t* pszFormat, LONGLONG nCounter = 0,
             int nLeadingZeros = 3)
{
    Named result{CString(u"unchanged"), FALSE};
    result.bAllFields =
        FormatName(result.strName, record, CString(pszFormat), nCounter, nLeadingZeros);
    return result;
}

} // namespace

TEST(FormatNameTest, CounterIsPaddedToTheLeadingZerosButNeverCut)
{
    CFileAssocData record = Record(u"a.mp3");
    record.m_strTitle = u"Intro";
    EXPECT_EQ(Format(record, u"<counter> <title>", 0, 3).strName, CString(u"000 Intro.mp3"));
    EXPECT_EQ(Format(record, u"<counter>", 12345, 3).strName, CString(u"12345.mp3"));
    EXPECT_EQ(Format(record, u"<counter>", 7, 1).strName, CString(u"7.mp3"));
    EXPECT_EQ(Format(record, u"<counter>", 42, 5).strName, CString(u"00042.mp3"));
    EXPECT_EQ(Format(record, u"<counter>", 123456, 5).strName, CString(u"123456.mp3"));
    EXPECT_TRUE(Format(record, u"<counter>").bAllFields); // the counter is never missing
}

TEST(FormatNameTest, EveryFieldIsInsertedUnchanged)
{
    CFileAssocData record = Record(u"old name.mp3");
    record.m_strTitle = u"T*tle?";
    record.m_strAlbum = u"Alb";
    record.m_strArtist = u"Art";
    record.m_nTrack = 7;
    record.m_strYear = u"1999";
    record.m_strGenre = u"Rock";
    record.m_strComment = u"not a token";
    const Named named =
        Format(record, u"<filename>|<title>|<album>|<artist>|<track>|<year>|<genre>");
    EXPECT_EQ(named.strName, CString(u"old name|T*tle?|Alb|Art|7|1999|Rock.mp3"));
    EXPECT_TRUE(named.bAllFields);
}

TEST(FormatNameTest, OnlyTheLastFullStopSplitsAndTheExtensionKeepsItsCase)
{
    const CFileAssocData record = Record(u"Song.Live.MP3");
    EXPECT_EQ(Format(record, u"<filename>-x").strName, CString(u"Song.Live-x.MP3"));
}

TEST(FormatNameTest, ANameWithoutFullStopGetsNoExtension)
{
    const CFileAssocData record = Record(u"noext");
    EXPECT_EQ(Format(record, u"<filename>!").strName, CString(u"noext!"));
}

TEST(FormatNameTest, MissingValuesInsertNothingAndMarkTheName)
{
    CFileAssocData record = Record(u"a.mp3");
    record.m_strArtist = u"Artist";
    Named named = Format(record, u"<artist> - <title>");
    EXPECT_EQ(named.strName, CString(u"Artist - .mp3"));
    EXPECT_FALSE(named.bAllFields);

    for (const char16_t* pszToken : {u"<title>", u"<album>", u"<year>", u"<genre>", u"<track>"})
        EXPECT_FALSE(Format(record, pszToken).bAllFields) << CString(pszToken).ToUtf8();
    record.m_nTrack = -3;
    named = Format(record, u"x<track>");
    EXPECT_EQ(named.strName, CString(u"x.mp3"));
    EXPECT_FALSE(named.bAllFields);

    // An empty base name counts as missing.
    named = Format(Record(u".mp3"), u"<filename>a");
    EXPECT_EQ(named.strName, CString(u"a.mp3"));
    EXPECT_FALSE(named.bAllFields);
}

TEST(FormatNameTest, PatternErrorsLeaveTheNameEmpty)
{
    const CFileAssocData record = Record(u"a.mp3");
    for (const char16_t* pszFormat : {u"<Title>", u"a<b<title>>", u"x>y", u"<nothing>"})
    {
        const Named named = Format(record, pszFormat);
        EXPECT_TRUE(named.strName.IsEmpty()) << CString(pszFormat).ToUtf8();
        EXPECT_FALSE(named.bAllFields);
    }
}

TEST(FormatNameTest, ATokenNeverClosedDropsTheRestOfThePattern)
{
    const Named named = Format(Record(u"a.mp3"), u"ab<title");
    EXPECT_EQ(named.strName, CString(u"ab.mp3"));
    EXPECT_TRUE(named.bAllFields);
    EXPECT_EQ(Format(Record(u"a.mp3"), u"<title").strName, CString(u".mp3"));
}

// ---------------------------------------------------------------------------------------------
// Planning

namespace
{

class CPlanTest : public ::testing::Test
{
protected:
    CFileAssocData* Add(const CString& strFolder, const char16_t* pszFileName,
                        const char16_t* pszTitle = u"")
    {
        auto pRecord = std::make_unique<CFileAssocData>();
        pRecord->m_strFolder = strFolder;
        pRecord->m_strFileName = pszFileName;
        pRecord->m_strTitle = pszTitle;
        m_records.push_back(std::move(pRecord));
        m_engine.AddRecord(m_records.back().get(), m_nNext++);
        return m_records.back().get();
    }

    std::vector<CString> Names() const
    {
        std::vector<CString> names;
        for (int i = 0; i < m_engine.GetCount(); ++i)
            names.push_back(m_engine.GetItem(i)->strNewName);
        return names;
    }

    std::vector<BOOL> CanRename() const
    {
        std::vector<BOOL> flags;
        for (int i = 0; i < m_engine.GetCount(); ++i)
            flags.push_back(m_engine.GetItem(i)->bCanRename);
        return flags;
    }

    Fixtures::CTempDir m_dirA;
    Fixtures::CTempDir m_dirB;
    CBusyState m_busy;
    CAutoRename m_engine{m_busy};
    std::vector<std::unique_ptr<CFileAssocData>> m_records;
    int m_nNext = 0;
};

} // namespace

TEST_F(CPlanTest, FilesOfOneFolderAreKeptTogetherInSelectionOrder)
{
    CFileAssocData* pA1 = Add(m_dirA.StrPath(), u"1.mp3");
    CFileAssocData* pB1 = Add(m_dirB.StrPath(), u"1.mp3");
    CFileAssocData* pA2 = Add(m_dirA.StrPath(), u"2.mp3");
    CFileAssocData* pB2 = Add(m_dirB.StrPath(), u"2.mp3");
    m_engine.AddRecord(nullptr, m_nNext++); // an item without a record adds nothing
    ASSERT_EQ(m_engine.GetCount(), 4);
    EXPECT_EQ(m_engine.GetItem(0)->pRecord, pA1);
    EXPECT_EQ(m_engine.GetItem(1)->pRecord, pA2);
    EXPECT_EQ(m_engine.GetItem(2)->pRecord, pB1);
    EXPECT_EQ(m_engine.GetItem(3)->pRecord, pB2);
    EXPECT_EQ(m_engine.GetItem(1)->nIndex, 2);
    EXPECT_EQ(m_engine.GetItem(2)->nIndex, 1);
    EXPECT_EQ(m_engine.GetItem(4), nullptr);
    EXPECT_EQ(m_engine.GetItem(-1), nullptr);
    EXPECT_STREQ(m_engine.GetRuntimeClassName(), "CAutoRename");
}

TEST_F(CPlanTest, CounterRestartsInEachFolder)
{
    Add(m_dirA.StrPath(), u"1.mp3");
    Add(m_dirB.StrPath(), u"1.mp3");
    Add(m_dirA.StrPath(), u"2.mp3");
    ASSERT_TRUE(m_engine.PlanNames(MakePreset(u"<counter>", 1, 2, 1, TRUE)));
    EXPECT_EQ(Names(), (std::vector<CString>{u"1.mp3", u"3.mp3", u"1.mp3"}));
}

TEST_F(CPlanTest, CounterFollowsTheSelectionWithoutRestart)
{
    Add(m_dirA.StrPath(), u"1.mp3");
    Add(m_dirB.StrPath(), u"1.mp3");
    Add(m_dirA.StrPath(), u"2.mp3");
    ASSERT_TRUE(m_engine.PlanNames(MakePreset(u"<counter>", 1, 2, 1, FALSE)));
    EXPECT_EQ(Names(), (std::vector<CString>{u"1.mp3", u"5.mp3", u"3.mp3"}));
}

TEST_F(CPlanTest, CounterRestartKeepsTheRunningValueWithinAFolder)
{
    Add(m_dirA.StrPath(), u"x.mp3", u"t");
    Add(m_dirB.StrPath(), u"y.mp3", u"t");
    Add(m_dirA.StrPath(), u"z.mp3", u"t");
    ASSERT_TRUE(m_engine.PlanNames(MakePreset(u"<counter> <title>", 0, 1, 3, TRUE)));
    EXPECT_EQ(Names(), (std::vector<CString>{u"000 t.mp3", u"001 t.mp3", u"000 t.mp3"}));
    EXPECT_EQ(CanRename(), (std::vector<BOOL>{TRUE, TRUE, TRUE}));
}

TEST_F(CPlanTest, AnInvalidPresetPlansNothing)
{
    Add(m_dirA.StrPath(), u"1.mp3");
    EXPECT_FALSE(m_engine.PlanNames(MakePreset(u"a:b")));
    EXPECT_FALSE(m_engine.PlanNames(MakePreset(u"<title>", 0, 1, 6)));
    EXPECT_TRUE(m_engine.GetItem(0)->strNewName.IsEmpty());
}

TEST_F(CPlanTest, EqualNamesInOneFolderMarkOnlyTheLaterUntilConflictsAreUpdated)
{
    Add(m_dirA.StrPath(), u"1.mp3", u"Same");
    Add(m_dirA.StrPath(), u"2.mp3", u"SAME");
    Add(m_dirB.StrPath(), u"3.mp3", u"same"); // another folder: no clash
    ASSERT_TRUE(m_engine.PlanNames(MakePreset(u"<title>")));
    EXPECT_EQ(CanRename(), (std::vector<BOOL>{TRUE, FALSE, TRUE}));
    EXPECT_TRUE(m_engine.IsDuplicateName(m_engine.GetItem(0)));
    EXPECT_FALSE(m_engine.IsDuplicateName(m_engine.GetItem(2)));

    m_engine.UpdateConflicts();
    EXPECT_EQ(CanRename(), (std::vector<BOOL>{FALSE, FALSE, TRUE}));

    // Altering the first name to a unique one frees both.
    m_engine.GetItem(0)->strNewName = u"Other.mp3";
    m_engine.UpdateConflicts();
    EXPECT_EQ(CanRename(), (std::vector<BOOL>{TRUE, TRUE, TRUE}));
}

TEST_F(CPlanTest, FolderCaseDoesNotHideAClash)
{
    Add(m_dirA.StrPath(), u"1.mp3", u"x");
    CFileAssocData* pOther = Add(m_dirA.StrPath(), u"2.mp3", u"x");
    pOther->m_strFolder.MakeUpper();
    ASSERT_TRUE(m_engine.PlanNames(MakePreset(u"<title>")));
    EXPECT_TRUE(m_engine.IsDuplicateName(m_engine.GetItem(0)));
}

TEST_F(CPlanTest, ExistingFilesBlockTheNameWhateverItsCase)
{
    Fixtures::WriteFileBytes(m_dirA.PathOf("a.mp3"), {1});
    Fixtures::WriteFileBytes(m_dirA.PathOf("Taken.mp3"), {1});
    Add(m_dirA.StrPath(), u"a.mp3", u"a");     // planned name is its own name
    Add(m_dirA.StrPath(), u"b.mp3", u"TAKEN"); // differs from an existing file only in case
    Add(m_dirA.StrPath(), u"c.mp3", u"Free");
    Add(m_dirA.StrPath(), u"d.mp3", u"T*n.mp"); // no wildcard matching here
    ASSERT_TRUE(m_engine.PlanNames(MakePreset(u"<title>")));
    EXPECT_EQ(CanRename(), (std::vector<BOOL>{FALSE, FALSE, TRUE, TRUE}));
    EXPECT_TRUE(m_engine.NameExists(m_engine.GetItem(0)));
    EXPECT_TRUE(m_engine.NameExists(m_engine.GetItem(1)));
    EXPECT_FALSE(m_engine.NameExists(m_engine.GetItem(2)));
}

TEST_F(CPlanTest, AnEmptyNameCanNeverBeUsed)
{
    Add(m_dirA.StrPath(), u"noext", u"");
    ASSERT_TRUE(m_engine.PlanNames(MakePreset(u"<title>")));
    EXPECT_TRUE(m_engine.GetItem(0)->strNewName.IsEmpty());
    EXPECT_FALSE(m_engine.GetItem(0)->bCanRename);
    EXPECT_FALSE(m_engine.GetItem(0)->bAllFields);
}

TEST_F(CPlanTest, ReplanningStartsFromNoNames)
{
    Add(m_dirA.StrPath(), u"1.mp3", u"x");
    Add(m_dirA.StrPath(), u"2.mp3", u"x");
    ASSERT_TRUE(m_engine.PlanNames(MakePreset(u"<title>")));
    ASSERT_TRUE(m_engine.PlanNames(MakePreset(u"<title>")));
    EXPECT_EQ(CanRename(), (std::vector<BOOL>{TRUE, FALSE}));
}
