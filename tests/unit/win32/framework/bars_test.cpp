// The toolbar and the status bar: update handlers in the idle pass, no
// message to a bar while nothing changes, tooltips and fly-by prompts, and
// the frame's layout of bars and view, the etched border lines.
#include "framework_test_app.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <map>

namespace {

// Counts every message a window receives (a subclass on top of the
// framework's).
std::map<HWND, WNDPROC> g_oldProcs;
std::map<HWND, int> g_counts;

LRESULT CALLBACK CountingProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    ++g_counts[h];
    return ::CallWindowProcA(g_oldProcs[h], h, m, w, l);
}

void StartCounting(HWND h)
{
    g_oldProcs[h] = WNDPROC(::SetWindowLongPtrA(h, GWLP_WNDPROC, LONG_PTR(&CountingProc)));
    g_counts[h] = 0;
}

void StopCounting(HWND h)
{
    ::SetWindowLongPtrA(h, GWLP_WNDPROC, LONG_PTR(g_oldProcs[h]));
    g_oldProcs.erase(h);
}

class Bars : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_bDisableCommand = TRUE;
        g_nCheck = 0;
        g_strPane = "Pane = 1";
        m_pFrame = OpenTestFrame();
        ASSERT_NE(m_pFrame, nullptr);
        IdlePasses(1);
    }
    void TearDown() override { CloseTestFrame(); }

    BYTE ButtonState(int nIndex)
    {
        UINT id = m_pFrame->m_wndToolBar.GetItemID(nIndex);
        return BYTE(m_pFrame->m_wndToolBar.SendMessage(TB_GETSTATE, id));
    }
    std::string ShownPaneText(int nIndex)
    {
        char text[256] = "";
        m_pFrame->m_wndStatusBar.SendMessage(SB_GETTEXTA, WPARAM(nIndex), LPARAM(text));
        return text;
    }
    CTestFrame* m_pFrame = nullptr;
};

}   // namespace

TEST_F(Bars, ToolbarButtonsFollowTheirUpdateHandlersInTheIdlePass)
{
    EXPECT_TRUE(ButtonState(kBtnView) & TBSTATE_ENABLED);
    EXPECT_FALSE(ButtonState(kBtnDisabled) & TBSTATE_ENABLED);
    EXPECT_TRUE(ButtonState(kBtnChecked) & TBSTATE_ENABLED);
    EXPECT_FALSE(ButtonState(kBtnChecked) & TBSTATE_CHECKED);
    EXPECT_FALSE(ButtonState(kBtnOrphan) & TBSTATE_ENABLED);   // no handler anywhere
    g_bDisableCommand = FALSE;
    g_nCheck = 1;
    IdlePasses(1);
    EXPECT_TRUE(ButtonState(kBtnDisabled) & TBSTATE_ENABLED);
    EXPECT_TRUE(ButtonState(kBtnChecked) & TBSTATE_CHECKED);
    g_nCheck = 0;
    IdlePasses(1);
    EXPECT_FALSE(ButtonState(kBtnChecked) & TBSTATE_CHECKED);
}

TEST_F(Bars, PanesShowTheirUpdateTextAndAPaneWithoutHandlerShowsNothing)
{
    CStatusBar& bar = m_pFrame->m_wndStatusBar;
    ASSERT_EQ(bar.GetCount(), 3);
    EXPECT_EQ(ShownPaneText(1), "Pane = 1");
    EXPECT_EQ(ShownPaneText(2), "");   // disabled: its string is not drawn
    EXPECT_NE(bar.GetPaneStyle(2) & SBPS_DISABLED, 0u);
    g_strPane = "Pane = 42";
    IdlePasses(1);
    EXPECT_EQ(ShownPaneText(1), "Pane = 42");
    // Panes after the first are as wide as their strings; the first takes
    // the rest.
    int edges[3] = {};
    bar.SendMessage(SB_GETPARTS, 3, LPARAM(edges));
    RECT rc;
    bar.GetClientRect(&rc);
    EXPECT_GT(edges[0], rc.right / 2);
    EXPECT_LT(edges[0], edges[1]);
    EXPECT_EQ(edges[2], -1);
}

TEST_F(Bars, NothingChangingMeansNoMessageToEitherBarOverAHundredIdlePasses)
{
    HWND hTool = m_pFrame->m_wndToolBar.m_hWnd;
    HWND hStatus = m_pFrame->m_wndStatusBar.m_hWnd;
    IdlePasses(3);
    StartCounting(hTool);
    StartCounting(hStatus);
    IdlePasses(100);
    int toolCount = g_counts[hTool], statusCount = g_counts[hStatus];
    // A real change reaches the bars (the counters do count).
    g_bDisableCommand = FALSE;
    g_strPane = "Pane = 7";
    IdlePasses(1);
    int toolAfter = g_counts[hTool], statusAfter = g_counts[hStatus];
    StopCounting(hTool);
    StopCounting(hStatus);
    EXPECT_EQ(toolCount, 0);
    EXPECT_EQ(statusCount, 0);
    EXPECT_GT(toolAfter, 0);
    EXPECT_GT(statusAfter, 0);
}

TEST_F(Bars, TooltipIsTheTextAfterTheLineBreak)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    NMTTDISPINFOA info = {};
    info.hdr.hwndFrom = bar.GetToolTipWindow();
    info.hdr.idFrom = ID_TEST_VIEW;
    info.hdr.code = TTN_GETDISPINFOA;
    m_pFrame->SendMessage(WM_NOTIFY, 0, LPARAM(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_STREQ(info.lpszText, "View Tip");
    NMTTDISPINFOW wide = {};
    wide.hdr.hwndFrom = bar.m_hWnd;
    wide.hdr.idFrom = ID_TEST_FRAME;   // a string without a tooltip part
    wide.hdr.code = TTN_GETDISPINFOW;
    wide.szText[0] = L'x';
    m_pFrame->SendMessage(WM_NOTIFY, 0, LPARAM(&wide));
    EXPECT_EQ(wide.lpszText, wide.szText);
    EXPECT_EQ(wide.szText[0], L'\0');
    // Without the tooltip style the frame does not answer.
    bar.SetBarStyle(bar.GetBarStyle() & ~DWORD(CBRS_TOOLTIPS));
    NMTTDISPINFOA none = {};
    none.hdr = info.hdr;
    m_pFrame->SendMessage(WM_NOTIFY, 0, LPARAM(&none));
    EXPECT_EQ(none.lpszText, nullptr);
}

TEST_F(Bars, PointerOnAButtonShowsItsPromptUntilItLeaves)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    CStatusBar& status = m_pFrame->m_wndStatusBar;
    EXPECT_EQ(status.GetPaneText(0), "");
    RECT r;
    ASSERT_TRUE(bar.SendMessage(TB_GETITEMRECT, kBtnView, LPARAM(&r)));
    bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    EXPECT_EQ(status.GetPaneText(0), "Handled by the view");
    ASSERT_TRUE(bar.SendMessage(TB_GETITEMRECT, kBtnDisabled, LPARAM(&r)));
    bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    EXPECT_EQ(status.GetPaneText(0), "Never carried out");
    bar.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(status.GetPaneText(0), "Ready for testing");
}

TEST_F(Bars, ButtonInfoByPositionKeepsCommandAndStyleAndChangesTheImage)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    ASSERT_EQ(bar.GetCount(), 5);
    UINT id = 0, style = 0;
    int image = -1;
    bar.GetButtonInfo(1, id, style, image);
    EXPECT_EQ(id, 0u);
    EXPECT_EQ(style & 0xFFFF, TBBS_SEPARATOR);
    bar.GetButtonInfo(kBtnChecked, id, style, image);
    EXPECT_EQ(id, UINT(ID_TEST_CHECKED));
    EXPECT_EQ(image, 2);   // images count buttons, not separators
    bar.SetButtonInfo(kBtnChecked, id, style, 14);
    TBBUTTON tb = {};
    ASSERT_TRUE(bar.SendMessage(TB_GETBUTTON, kBtnChecked, LPARAM(&tb)));
    EXPECT_EQ(tb.iBitmap, 14);
    EXPECT_EQ(tb.idCommand, ID_TEST_CHECKED);
    UINT id2, style2;
    bar.GetButtonInfo(kBtnChecked, id2, style2, image);
    EXPECT_EQ(image, 14);
    EXPECT_EQ(id2, id);
    EXPECT_EQ(style2, style);
}

TEST_F(Bars, FrameLayoutPutsTheToolbarOnTopTheStatusBarBelowAndTheViewBetween)
{
    m_pFrame->MoveWindow(0, 0, 640, 480);
    PumpMessages();
    RECT client, tool, status, view;
    m_pFrame->GetClientRect(&client);
    auto childRect = [&](CWnd* pWnd, RECT& r) {
        pWnd->GetWindowRect(&r);
        ::MapWindowPoints(nullptr, m_pFrame->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    };
    childRect(&m_pFrame->m_wndToolBar, tool);
    childRect(&m_pFrame->m_wndStatusBar, status);
    childRect(m_pFrame->GetActiveView(), view);
    EXPECT_EQ(tool.top, 0);
    EXPECT_EQ(tool.right - tool.left, client.right);
    EXPECT_GE(tool.bottom - tool.top, 39);   // the 39-pixel buttons fit
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_GT(status.bottom - status.top, 10);
    EXPECT_EQ(view.top, tool.bottom);
    EXPECT_EQ(view.bottom, status.top);
    EXPECT_EQ(view.right - view.left, client.right);
    EXPECT_EQ(m_pFrame->GetActiveView()->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    EXPECT_NE(m_pFrame->GetActiveView()->GetStyle() & WS_BORDER, 0u);
    // A hidden bar gives its room to the view.
    m_pFrame->m_wndToolBar.ShowWindow(SW_HIDE);
    m_pFrame->RecalcLayout();
    childRect(m_pFrame->GetActiveView(), view);
    EXPECT_EQ(view.top, 0);
}

TEST_F(Bars, EtchedLinesRunBelowTheToolbarAndAboveTheStatusBarOutsideTheControls)
{
    m_pFrame->MoveWindow(0, 0, 640, 480);
    PumpMessages();
    CToolBar& tool = m_pFrame->m_wndToolBar;
    CStatusBar& status = m_pFrame->m_wndStatusBar;
    RECT toolWnd, toolClient, statusWnd, button = {};
    tool.GetWindowRect(&toolWnd);
    tool.GetClientRect(&toolClient);
    status.GetWindowRect(&statusWnd);
    POINT statusClient = {0, 0};
    ::ClientToScreen(status.m_hWnd, &statusClient);
    // The lines take two rows of the bar's window; the buttons keep theirs.
    const int toolHeight = toolWnd.bottom - toolWnd.top;
    EXPECT_EQ(toolClient.bottom, toolHeight - 2);
    EXPECT_EQ(statusClient.y, statusWnd.top + 2);
    ASSERT_TRUE(tool.SendMessage(TB_GETITEMRECT, 0, LPARAM(&button)));
    EXPECT_LE(button.bottom, toolClient.bottom);

    // Shadow above highlight, across the whole width.
    auto pixel = [](CWnd& bar, int x, int y) {
        HDC hdc = ::GetWindowDC(bar.m_hWnd);
        COLORREF c = ::GetPixel(hdc, x, y);
        ::ReleaseDC(bar.m_hWnd, hdc);
        return c;
    };
    auto shown = [&](CWnd& bar, int nColor) {
        HDC hdc = ::GetWindowDC(bar.m_hWnd);
        COLORREF c = ::GetNearestColor(hdc, ::GetSysColor(nColor));
        ::ReleaseDC(bar.m_hWnd, hdc);
        return c;
    };
    const int right = toolWnd.right - toolWnd.left - 1;
    for (int x : {0, right / 2, right}) {
        EXPECT_EQ(pixel(tool, x, toolHeight - 2), shown(tool, COLOR_BTNSHADOW)) << x;
        EXPECT_EQ(pixel(tool, x, toolHeight - 1), shown(tool, COLOR_BTNHIGHLIGHT)) << x;
        EXPECT_EQ(pixel(status, x, 0), shown(status, COLOR_BTNSHADOW)) << x;
        EXPECT_EQ(pixel(status, x, 1), shown(status, COLOR_BTNHIGHLIGHT)) << x;
    }
}
