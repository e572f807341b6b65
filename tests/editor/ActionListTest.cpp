#include "EditorFiles.h"

#include "editor/ActionList.h"

#include <gtest/gtest.h>

using EditorFiles::NewText;

TEST(ActionListTest, OneActionPerIDFoundExactlyInListOrder)
{
    CActionList list;
    CActionList::Action* pKeep = list.AddAction(ACTION_KEEP, "TIT2");
    CActionList::Action* pSet = list.AddAction(ACTION_SET, "TPE1", NewText("TPE1", u"Artist"));
    CActionList::Action* pRemove = list.AddAction(ACTION_REMOVE, "PRIVATE");
    EXPECT_EQ(list.AddAction(ACTION_KEEP, ""), nullptr);
    EXPECT_EQ(list.AddAction(ACTION_KEEP, nullptr), nullptr);

    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetAt(0), pKeep);
    EXPECT_EQ(list.GetAt(2), pRemove);
    EXPECT_EQ(list.GetAt(3), nullptr);
    EXPECT_STREQ(pRemove->m_szFrameID, "PRIV");
    EXPECT_EQ(list.FindAction("PRIV"), pRemove);
    EXPECT_EQ(list.FindAction("tit2"), nullptr);
    EXPECT_EQ(list.FindAction(nullptr), nullptr);
    EXPECT_EQ(pSet->m_nItem, -1);

    EXPECT_EQ(pKeep->GetValueText(), CString(u"<Keep>"));
    EXPECT_EQ(pSet->GetValueText(), CString(u"Artist"));
    EXPECT_EQ(pRemove->GetValueText(), CString(u"<Remove>"));

    // A second Add for an ID changes its action, which keeps its place and row.
    pKeep->m_nItem = 0;
    EXPECT_EQ(list.AddAction(ACTION_SET, "TIT2", NewText("TIT2", u"New")), pKeep);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(pKeep->m_nType, ACTION_SET);
    EXPECT_EQ(pKeep->GetValueText(), CString(u"New"));
    EXPECT_EQ(pKeep->m_nItem, 0);
}

TEST(ActionListTest, OnlyASetHoldsAFrame)
{
    CActionList list;
    CActionList::Action* pAction = list.AddAction(ACTION_SET, "TALB");
    EXPECT_EQ(pAction->m_nType, ACTION_KEEP);
    pAction = list.AddAction(ACTION_REMOVE, "TYER", NewText("TYER", u"1999"));
    EXPECT_EQ(pAction->m_pFrame, nullptr);

    pAction->Set(NewText("TYER", u"2001"));
    EXPECT_EQ(pAction->m_nType, ACTION_SET);
    pAction->Keep();
    EXPECT_EQ(pAction->m_nType, ACTION_KEEP);
    EXPECT_EQ(pAction->m_pFrame, nullptr);
    pAction->Set(NewText("TYER", u"2002"));
    pAction->Remove();
    EXPECT_EQ(pAction->m_nType, ACTION_REMOVE);
    EXPECT_EQ(pAction->m_pFrame, nullptr);
    pAction->Set(nullptr);
    EXPECT_EQ(pAction->m_nType, ACTION_KEEP);
}
