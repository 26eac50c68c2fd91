// Message maps: dispatch walks the chain from the derived table to the
// base, the first entry found wins, and window messages reach handlers with
// their arguments unpacked.
#include "framework_test_app.h"
#include <gtest/gtest.h>

namespace {

std::vector<std::string> g_calls;

class CBaseTarget : public CCmdTarget {
public:
    void OnShared() { g_calls.push_back("base:shared"); }
    void OnBaseOnly() { g_calls.push_back("base:only"); }
    void OnRange() { g_calls.push_back("base:range"); }
    DECLARE_MESSAGE_MAP()
};

class CDerivedTarget : public CBaseTarget {
public:
    void OnShared() { g_calls.push_back("derived:shared"); }
    void OnUpdateShared(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseTarget, CCmdTarget)
    ON_COMMAND(100, OnShared)
    ON_COMMAND(101, OnBaseOnly)
    ON_COMMAND_RANGE(200, 209, OnRange)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CDerivedTarget, CBaseTarget)
    ON_COMMAND(100, OnShared)
    ON_UPDATE_COMMAND_UI(100, OnUpdateShared)
END_MESSAGE_MAP()

class CProbeCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        m_bOn = bOn;
    }
    BOOL m_bOn = TRUE;
};

class CSizeWnd : public CWnd {
public:
    int OnCreate(LPCREATESTRUCT lpcs)
    {
        m_created = lpcs->cx;
        return 0;
    }
    void OnSize(UINT nType, int cx, int cy)
    {
        m_type = nType;
        m_cx = cx;
        m_cy = cy;
    }
    LRESULT OnCustom(WPARAM w, LPARAM l) { return LRESULT(w + l); }
    int m_created = -1;
    UINT m_type = 99;
    int m_cx = -1, m_cy = -1;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSizeWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_APP + 5, OnCustom)
END_MESSAGE_MAP()

}   // namespace

TEST(MessageMap, DerivedEntryWinsAndBaseEntriesStayReachable)
{
    CDerivedTarget target;
    g_calls.clear();
    EXPECT_TRUE(target.OnCmdMsg(100, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(101, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(205, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(210, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(102, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"derived:shared", "base:only", "base:range"}));

    // Asking for a handler runs nothing; update entries are kept apart.
    AFX_CMDHANDLERINFO info = {nullptr};
    g_calls.clear();
    EXPECT_TRUE(target.OnCmdMsg(101, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &target);
    EXPECT_TRUE(g_calls.empty());
    CProbeCmdUI ui;
    ui.m_nID = 100;
    EXPECT_TRUE(ui.DoUpdate(&target, TRUE));
    EXPECT_FALSE(ui.m_bOn);
    ui.m_nID = 101;   // no update handler, but a command handler: enabled
    EXPECT_FALSE(ui.DoUpdate(&target, TRUE));
    EXPECT_TRUE(ui.m_bOn);
    ui.m_nID = 102;   // no handler at all: disabled
    ui.DoUpdate(&target, TRUE);
    EXPECT_FALSE(ui.m_bOn);
}

TEST(MessageMap, WindowMessagesReachHandlersWithTheirArguments)
{
    StartFramework();
    CSizeWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "probe", WS_OVERLAPPEDWINDOW, 10, 10, 200, 150, nullptr, nullptr));
    EXPECT_EQ(wnd.m_created, 200);
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    wnd.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(321, 123));
    EXPECT_EQ(wnd.m_type, UINT(SIZE_MAXIMIZED));
    EXPECT_EQ(wnd.m_cx, 321);
    EXPECT_EQ(wnd.m_cy, 123);
    EXPECT_EQ(wnd.SendMessage(WM_APP + 5, 40, 2), 42);
    // Unmapped messages get the default processing.
    EXPECT_EQ(wnd.SendMessage(WM_SETTEXT, 0, LPARAM("renamed")), TRUE);
    char text[32] = "";
    wnd.GetWindowText(text, 32);
    EXPECT_STREQ(text, "renamed");
    HWND h = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

TEST(MessageMap, ForeignHandlesGetTemporaryWrappersUntilIdle)
{
    StartFramework();
    HWND hDesktop = ::GetDesktopWindow();
    CWnd* p1 = CWnd::FromHandle(hDesktop);
    CWnd* p2 = CWnd::FromHandle(hDesktop);
    ASSERT_NE(p1, nullptr);
    EXPECT_EQ(p1, p2);
    EXPECT_EQ(p1->m_hWnd, hDesktop);
    EXPECT_EQ(CWnd::FromHandlePermanent(hDesktop), nullptr);
    theTestApp.OnIdle(1);   // frees the temporary wrappers
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    EXPECT_TRUE(::IsWindow(hDesktop));
}
