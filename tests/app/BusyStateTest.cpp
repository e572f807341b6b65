#include "app/BusyState.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace
{

// Records what the busy state asks of its window; Esc presses are queued by the test.
class CRecordingHost : public IBusyHost
{
public:
    void SetBusyMode(BOOL bBusy) override { m_log.push_back(bBusy ? "busy" : "idle"); }
    void SetStatusText(const CString& strText) override { m_log.push_back(strText.ToUtf8()); }
    void BeginWaitCursor() override { m_log.push_back("wait"); }
    void EndWaitCursor() override { m_log.push_back("arrow"); }
    BOOL PollEscape() override
    {
        ++m_nPolls;
        if (m_escapes.empty())
            return FALSE;
        const bool b = m_escapes.front();
        m_escapes.pop_front();
        return b;
    }

    std::vector<std::string> m_log;
    std::deque<bool> m_escapes;
    int m_nPolls = 0;
};

} // namespace

TEST(BusyStateTest, BeginAndEndDriveTheStatusBar)
{
    CRecordingHost host;
    CBusyState busy(&host);
    busy.BeginBusy();
    EXPECT_TRUE(busy.IsBusy());
    busy.EndBusy();
    EXPECT_FALSE(busy.IsBusy());
    EXPECT_EQ(host.m_log, (std::vector<std::string>{"wait", "busy", "Please wait...", "arrow",
                                                    "idle", "Ready"}));
}

TEST(BusyStateTest, EndWithoutBeginChangesNothing)
{
    CRecordingHost host;
    CBusyState busy(&host);
    busy.EndBusy();
    EXPECT_TRUE(host.m_log.empty());
}

TEST(BusyStateTest, DoesNotNestAndKeepsAPendingCancel)
{
    CRecordingHost host;
    CBusyState busy(&host);
    busy.BeginBusy();
    host.m_escapes = {false, true};
    EXPECT_FALSE(busy.IsCancelRequested());
    EXPECT_TRUE(busy.IsCancelRequested());
    const size_t nLog = host.m_log.size();
    busy.BeginBusy(); // inner begin: nothing, the cancel stays
    EXPECT_EQ(host.m_log.size(), nLog);
    EXPECT_TRUE(busy.IsCancelRequested());
    busy.EndBusy(); // the first end ends the state
    EXPECT_FALSE(busy.IsBusy());
    busy.EndBusy();
    EXPECT_EQ(host.m_log.size(), nLog + 3);
}

TEST(BusyStateTest, CancelLivesUntilTheNextBegin)
{
    CRecordingHost host;
    CBusyState busy(&host);
    busy.BeginBusy();
    host.m_escapes = {true, true};
    EXPECT_TRUE(busy.IsCancelRequested());
    const int nPolls = host.m_nPolls;
    EXPECT_TRUE(busy.IsCancelRequested()); // pending: no further poll, the second Esc stays queued
    EXPECT_EQ(host.m_nPolls, nPolls);
    busy.EndBusy();
    EXPECT_TRUE(busy.IsCancelRequested()); // not busy: kept, nothing polled
    EXPECT_EQ(host.m_nPolls, nPolls);
    busy.BeginBusy();
    host.m_escapes.clear();
    EXPECT_FALSE(busy.IsCancelRequested());
}

TEST(BusyStateTest, WorksWithoutAWindow)
{
    CBusyState busy;
    busy.BeginBusy();
    busy.SetStatusText(u"x");
    EXPECT_FALSE(busy.IsCancelRequested());
    busy.EndBusy();
}
