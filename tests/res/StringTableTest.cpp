#include "res/StringTable.h"

#include <gtest/gtest.h>

using namespace Res;

TEST(StringTableTest, LooksUpByNumber)
{
    EXPECT_EQ(LoadResourceString(IDS_APP_TITLE), CString(u"Tagwright"));
    EXPECT_EQ(LoadResourceString(IDS_READY), CString(u"Ready"));
    EXPECT_EQ(LoadResourceString(IDS_INVALID_FILE_NAME),
              CString(u"A file name can't contain any of the following characters: \\ / \" * ? < > |"));
    EXPECT_TRUE(LoadResourceString(1).IsEmpty());
    EXPECT_EQ(LoadResourceString(IDS_INVALID_RENAME_FORMAT).Right(27),
              CString(u"characters: \\ /   : * ? \" |"));
    EXPECT_TRUE(LoadResourceString(125).IsEmpty());
    EXPECT_TRUE(LoadResourceString(99999).IsEmpty());
}

TEST(StringTableTest, FillsPlaceholdersOnce)
{
    EXPECT_EQ(FormatResourceString(IDS_RENAME_FAILED, u"/a/%2.mp3", u"/b.mp3"),
              CString(u"Couldn't rename file from '/a/%2.mp3' to '/b.mp3'"));
    EXPECT_EQ(FormatResourceString(IDS_FAILED_READING_FILE, u"x").Left(30),
              CString(u"Failed to reading file at 'x'."));
    // "\n\n" stays as two line feeds, without carriage returns.
    EXPECT_NE(LoadResourceString(IDS_FAILED_READING_FILE).Find(CString(u"'.\n\nMake")), -1);
}
