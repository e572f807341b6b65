#include "browser/DiagnosticMessages.h"

#include "res/StringTable.h"

#include <gtest/gtest.h>

TEST(DiagnosticMessagesTest, OneLinePerMessageInOrder)
{
    CDiagnosticMessages messages;
    EXPECT_EQ(messages.GetCount(), 0);
    messages.AddMessage(u"first\r\nsecond\r\n");
    const CString str140 = Res::FormatResourceString(Res::IDS_FAILED_READING_FILE, u"/a.mp3");
    messages.AddMessage(str140);
    for (int i = 0; i < 50; ++i)
        messages.AddMessage(FormatString(u"line %d", i));
    ASSERT_EQ(messages.GetCount(), 52);
    EXPECT_EQ(messages.GetMessages()[0], CString(u"first second "));
    EXPECT_EQ(messages.GetMessages()[1], str140); // "\n\n" without "\r" stays
    EXPECT_EQ(messages.GetMessages()[51], CString(u"line 49"));
}
