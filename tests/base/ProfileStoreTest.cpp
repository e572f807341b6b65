#include "base/ProfileStore.h"

#include <gtest/gtest.h>

TEST(MemoryProfileStoreTest, ValuesKeepTheirTypeAndNamesIgnoreCase)
{
    CMemoryProfileStore store;
    EXPECT_EQ(store.GetProfileInt(u"Settings", u"WriteID3v1", 7), 7);
    store.WriteProfileInt(u"Settings", u"WriteID3v1", 0);
    EXPECT_EQ(store.GetProfileInt(u"settings", u"WRITEID3V1", 7), 0);
    EXPECT_EQ(store.GetProfileString(u"Settings", u"WriteID3v1", u"d"), CString(u"d"));

    store.WriteProfileString(u"Settings", u"UserPath", u"/music");
    EXPECT_EQ(store.GetProfileString(u"Settings", u"UserPath"), CString(u"/music"));
    EXPECT_EQ(store.GetProfileInt(u"Settings", u"UserPath", -1), -1);

    const BYTE bytes[] = {1, 2, 0, 3};
    store.WriteProfileBinary(u"Settings", u"ColumnsOrder", bytes, sizeof bytes);
    std::vector<BYTE> data{9};
    ASSERT_TRUE(store.GetProfileBinary(u"Settings", u"ColumnsOrder", data));
    EXPECT_EQ(data, (std::vector<BYTE>{1, 2, 0, 3}));
    EXPECT_FALSE(store.GetProfileBinary(u"Settings", u"UserPath", data));
    EXPECT_TRUE(data.empty());

    EXPECT_TRUE(store.HasValue(u"SETTINGS", u"columnsorder"));
    store.RemoveValue(u"Settings", u"ColumnsOrder");
    EXPECT_FALSE(store.HasValue(u"Settings", u"ColumnsOrder"));
}
