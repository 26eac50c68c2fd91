// Command routing: view, then document, then frame, then application; a
// command whose update handler disables it is carried out from nowhere;
// menus get their states from the update handlers when they open.
#include "framework_test_app.h"
#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

class Routing : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pFrame = OpenTestFrame();
        ASSERT_NE(m_pFrame, nullptr);
        g_log.clear();
        g_bDisableCommand = TRUE;
    }
    void TearDown() override { CloseTestFrame(); }

    std::vector<std::string> Send(UINT nID, WORD code = 0, HWND hCtrl = nullptr)
    {
        g_log.clear();
        m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(nID, code), LPARAM(hCtrl));
        return g_log;
    }
    CTestFrame* m_pFrame = nullptr;
};

using Log = std::vector<std::string>;

}   // namespace

TEST_F(Routing, ViewThenDocumentThenFrameThenApplication)
{
    EXPECT_EQ(Send(ID_TEST_VIEW), Log{"view"});
    EXPECT_EQ(Send(ID_TEST_DOC), Log{"doc"});
    EXPECT_EQ(Send(ID_TEST_FRAME), Log{"frame"});
    EXPECT_EQ(Send(ID_TEST_APP), Log{"app"});
    EXPECT_EQ(Send(ID_TEST_ORPHAN), Log{});
    // Without an active view the frame is the first to hear.
    CView* pView = m_pFrame->GetActiveView();
    m_pFrame->SetActiveView(nullptr);
    EXPECT_EQ(Send(ID_TEST_VIEW), Log{"frame"});
    m_pFrame->SetActiveView(pView);
}

TEST_F(Routing, DisabledCommandIsNotCarriedOutFromMenuAcceleratorOrToolbar)
{
    HWND hToolBar = m_pFrame->m_wndToolBar.m_hWnd;
    EXPECT_EQ(Send(ID_TEST_DISABLED, 0), Log{});
    EXPECT_EQ(Send(ID_TEST_DISABLED, 1), Log{});
    EXPECT_EQ(Send(ID_TEST_DISABLED, BN_CLICKED, hToolBar), Log{});
    g_bDisableCommand = FALSE;
    EXPECT_EQ(Send(ID_TEST_DISABLED, 0), Log{"disabled"});
    EXPECT_EQ(Send(ID_TEST_DISABLED, 1), Log{"disabled"});
    EXPECT_EQ(Send(ID_TEST_DISABLED, BN_CLICKED, hToolBar), Log{"disabled"});
}

TEST_F(Routing, AcceleratorsOfTheFrameTurnKeysIntoCommands)
{
    // F10 arrives as a system key; the frame's table still applies.
    HWND hView = m_pFrame->GetActiveView()->m_hWnd;
    g_log.clear();
    ::PostMessageA(hView, WM_SYSKEYDOWN, VK_F10, 0x00440001);
    ::PostMessageA(hView, WM_KEYDOWN, VK_F9, 0x00430001);   // disabled: nothing
    PumpMessages();
    EXPECT_EQ(g_log, Log{"view"});
    g_bDisableCommand = FALSE;
    g_log.clear();
    ::PostMessageA(hView, WM_KEYDOWN, VK_F9, 0x00430001);
    PumpMessages();
    EXPECT_EQ(g_log, Log{"disabled"});
}

TEST_F(Routing, MenuItemsTakeTheirStatesFromUpdateHandlersWhenTheMenuOpens)
{
    HMENU hPopup = ::GetSubMenu(::GetMenu(m_pFrame->m_hWnd), 0);
    ASSERT_NE(hPopup, nullptr);
    auto state = [&](UINT id) { return ::GetMenuState(hPopup, id, MF_BYCOMMAND); };
    g_nCheck = 1;
    m_pFrame->SendMessage(WM_INITMENUPOPUP, WPARAM(hPopup), MAKELPARAM(0, FALSE));
    EXPECT_EQ(state(ID_TEST_VIEW) & MF_GRAYED, 0u);
    EXPECT_EQ(state(ID_TEST_APP) & MF_GRAYED, 0u);
    EXPECT_NE(state(ID_TEST_DISABLED) & MF_GRAYED, 0u);
    EXPECT_NE(state(ID_TEST_CHECKED) & MF_CHECKED, 0u);
    EXPECT_NE(state(ID_TEST_ORPHAN) & MF_GRAYED, 0u);   // no handler anywhere
    g_nCheck = 0;
    g_bDisableCommand = FALSE;
    m_pFrame->SendMessage(WM_INITMENUPOPUP, WPARAM(hPopup), MAKELPARAM(0, FALSE));
    EXPECT_EQ(state(ID_TEST_CHECKED) & MF_CHECKED, 0u);
    EXPECT_EQ(state(ID_TEST_DISABLED) & MF_GRAYED, 0u);
}

TEST_F(Routing, MenuPromptsGoToTheMessagePaneAndTheIdleMessageReturns)
{
    CStatusBar& bar = m_pFrame->m_wndStatusBar;
    HMENU hPopup = ::GetSubMenu(::GetMenu(m_pFrame->m_hWnd), 0);
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_TEST_VIEW, MF_HILITE), LPARAM(hPopup));
    EXPECT_EQ(bar.GetPaneText(0), "Handled by the view");
    char shown[128] = "";
    bar.SendMessage(SB_GETTEXTA, 0, LPARAM(shown));
    EXPECT_STREQ(shown, "Handled by the view");
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_TEST_FRAME, MF_HILITE), LPARAM(hPopup));
    EXPECT_EQ(bar.GetPaneText(0), "Handled by the frame");   // no tooltip part
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(bar.GetPaneText(0), "Ready for testing");
}
