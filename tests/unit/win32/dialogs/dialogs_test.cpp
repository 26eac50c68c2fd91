// The About, About-the-maker and Quick Help boxes, each run modally: a thread
// timer inside the modal loop reads what the open dialog shows and closes it
// by OK, Enter or Esc. A dialog that does not close is ended by force after a
// few seconds, so that no test can hang.
#include "app/AboutDlg.h"
#include "app/AboutMakerDlg.h"
#include "app/QuickHelpDlg.h"
#include "resources/resource.h"
#include "surface/SurfaceState.h"
#include "VelmoraVersion.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

enum class Close { OkButton, Enter, Escape, Nothing };

// What the open dialog showed.
struct Seen {
    bool bFound = false;
    std::string caption;
    DWORD dwStyle = 0;
    std::vector<std::string> texts;   // every child but the icons, in template order
    std::vector<int> iconIds;         // icon controls that hold an icon
    std::string status;               // control 1000, when there is one
    bool bStatusFits = false;         // the status text fits its control's rectangle
    bool bForced = false;             // it had to be ended by force
};

Seen g_seen;
Close g_close = Close::Nothing;
int g_nTicks = 0;
const int kMaxTicks = 100;   // 20 ms each: two seconds

std::string TextOf(HWND h)
{
    char text[512] = "";
    ::GetWindowTextA(h, text, sizeof text);
    return text;
}

BOOL CALLBACK FindDialog(HWND h, LPARAM l)
{
    char cls[16] = "";
    ::GetClassNameA(h, cls, sizeof cls);
    if (std::string(cls) == "#32770" && ::IsWindowVisible(h)) {
        *reinterpret_cast<HWND*>(l) = h;
        return FALSE;
    }
    return TRUE;
}

bool IsStatic(HWND h)
{
    char cls[16] = "";
    ::GetClassNameA(h, cls, sizeof cls);
    return lstrcmpiA(cls, "Static") == 0;
}

// Whether the text of a static control fits inside it with word wrapping.
bool TextFits(HWND hCtl)
{
    RECT rcCtl;
    ::GetClientRect(hCtl, &rcCtl);
    HDC hDC = ::GetDC(hCtl);
    HGDIOBJ hOld = ::SelectObject(hDC, HGDIOBJ(::SendMessageA(hCtl, WM_GETFONT, 0, 0)));
    std::string text = TextOf(hCtl);
    RECT rc = {0, 0, rcCtl.right, 0};
    ::DrawTextA(hDC, text.c_str(), -1, &rc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(hCtl, hDC);
    return rc.right <= rcCtl.right && rc.bottom <= rcCtl.bottom;
}

void Inspect(HWND hDlg)
{
    g_seen.bFound = true;
    g_seen.caption = TextOf(hDlg);
    g_seen.dwStyle = DWORD(::GetWindowLongA(hDlg, GWL_STYLE));
    for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (IsStatic(h) && (::GetWindowLongA(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            if (::SendMessageA(h, STM_GETICON, 0, 0))
                g_seen.iconIds.push_back(::GetDlgCtrlID(h));
            continue;
        }
        g_seen.texts.push_back(TextOf(h));
        if (::GetDlgCtrlID(h) == IDC_RENDERER_STATUS) {
            g_seen.status = TextOf(h);
            g_seen.bStatusFits = TextFits(h);
        }
    }
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD)
{
    HWND hDlg = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindDialog, LPARAM(&hDlg));
    if (!hDlg)
        return;
    if (++g_nTicks > kMaxTicks) {
        g_seen.bForced = true;
        ::EndDialog(hDlg, -2);
        return;
    }
    if (!g_seen.bFound)
        Inspect(hDlg);
    switch (g_close) {
    case Close::OkButton: ::SendMessageA(::GetDlgItem(hDlg, IDOK), BM_CLICK, 0, 0); break;
    case Close::Enter: ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_RETURN, 0); break;
    case Close::Escape: ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); break;
    case Close::Nothing: break;
    }
    g_close = Close::Nothing;   // one press only; a second tick that still finds it times it out
}

// Runs the dialog modally, reads it and closes it as asked; returns the result.
INT_PTR RunDialog(CDialog& dlg, Close how)
{
    g_seen = Seen{};
    g_close = how;
    g_nTicks = 0;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &OnTick);
    INT_PTR result = dlg.DoModal();
    ::KillTimer(nullptr, timer);
    return result;
}

const char kNotUsed[] = "WinG is not being used";
const char kBottomUp[] = "WinG is being used, orientation is bottom-up";
const char kTopDown[] = "WinG is being used, orientation is top-down";

struct SurfaceStateGuard {
    BOOL bWinG = g_bWinGInUse;
    int32_t nOrientation = g_nOrientation;
    ~SurfaceStateGuard()
    {
        g_bWinGInUse = bWinG;
        g_nOrientation = nOrientation;
    }
};

}   // namespace

TEST(AboutDlg, StatusLineFollowsTheSurfaceStateAndFitsItsControl)
{
    SurfaceStateGuard guard;
    struct Case {
        BOOL bWinG;
        int32_t nOrientation;
        const char* pszExpected;
    } cases[] = {
        {TRUE, ORIENT_BOTTOM_UP, kBottomUp},
        {TRUE, ORIENT_TOP_DOWN, kTopDown},
        {TRUE, 0, kTopDown},   // anything but bottom-up is reported as top-down
        {FALSE, ORIENT_BOTTOM_UP, kNotUsed},
        {FALSE, ORIENT_TOP_DOWN, kNotUsed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszExpected);
        g_bWinGInUse = c.bWinG;
        g_nOrientation = c.nOrientation;
        CAboutDlg dlg;
        EXPECT_EQ(RunDialog(dlg, Close::OkButton), IDOK);
        EXPECT_FALSE(g_seen.bForced);
        EXPECT_EQ(g_seen.status, c.pszExpected);
        EXPECT_TRUE(g_seen.bStatusFits);
        EXPECT_EQ(CAboutDlg::RendererStatusText(), std::string(c.pszExpected));
    }
}

TEST(Dialogs, EachShowsItsTextsAndIcons)
{
    SurfaceStateGuard guard;
    g_bWinGInUse = FALSE;
    {
        CAboutDlg dlg;
        RunDialog(dlg, Close::OkButton);
        EXPECT_EQ(g_seen.caption, "About Velmora 95");
        EXPECT_EQ(g_seen.texts, (std::vector<std::string>{"Velmora 95", "(Originally from The QUARVELL CD)",
                                                          VELMORA_PRODUCT_NOTICE, "OK", kNotUsed}));
        EXPECT_EQ(g_seen.iconIds, std::vector<int>{-1 & 0xFFFF});
    }
    {
        CAboutMakerDlg dlg;
        RunDialog(dlg, Close::OkButton);
        EXPECT_EQ(g_seen.caption, "About QUARVELL");
        EXPECT_EQ(g_seen.texts, (std::vector<std::string>{
                                    "Questions?  Please contact us:", "QUARVELL, Inc.", "95 Example Way, Suite 0",
                                    "Anytown, ZZ 00000", "(555) 555-0195", "email:", "info@quarvell.example",
                                    "ftp:", "ftp.quarvell.example", "www:", "http://www.quarvell.example/", "OK"}));
        EXPECT_EQ(g_seen.iconIds, std::vector<int>{IDC_MAKER_LOGO});
    }
    {
        CQuickHelpDlg dlg;
        RunDialog(dlg, Close::OkButton);
        EXPECT_EQ(g_seen.caption, "Quick Help");
        EXPECT_EQ(g_seen.texts,
                  (std::vector<std::string>{
                      "Velmora 95 simulates a 3 dimensional starfield in real-time.",
                      "Use the toolbar or menu items to change the display size, simulation type, star density, "
                      "nausea level or audio tune.\n\nYou can exit at any time by pressing Ctrl+X or selecting 'exit'.",
                      "OK"}));
        EXPECT_TRUE(g_seen.iconIds.empty());
    }
}

TEST(Dialogs, OkEnterAndEscCloseEachAndOnlyQuickHelpLacksTheSystemMenu)
{
    struct Way {
        Close how;
        INT_PTR result;
        const char* name;
    } ways[] = {{Close::OkButton, IDOK, "OK"}, {Close::Enter, IDOK, "Enter"}, {Close::Escape, IDCANCEL, "Esc"}};
    for (const Way& w : ways) {
        SCOPED_TRACE(w.name);
        CAboutDlg about;
        EXPECT_EQ(RunDialog(about, w.how), w.result);
        EXPECT_FALSE(g_seen.bForced);
        EXPECT_NE(g_seen.dwStyle & WS_SYSMENU, 0u);
        EXPECT_EQ(about.m_hWnd, nullptr);

        CAboutMakerDlg maker;
        EXPECT_EQ(RunDialog(maker, w.how), w.result);
        EXPECT_FALSE(g_seen.bForced);
        EXPECT_NE(g_seen.dwStyle & WS_SYSMENU, 0u);

        CQuickHelpDlg help;
        EXPECT_EQ(RunDialog(help, w.how), w.result);
        EXPECT_FALSE(g_seen.bForced);
        EXPECT_EQ(g_seen.dwStyle & WS_SYSMENU, 0u);   // no system menu, so no close box
    }
}

TEST(Dialogs, ADialogLeftOpenIsEndedByTheWatchdog)
{
    // Guards the helper itself: without a press the dialog stays open until
    // the watchdog ends it, which the other tests would report as forced.
    CQuickHelpDlg help;
    EXPECT_EQ(RunDialog(help, Close::Nothing), -2);
    EXPECT_TRUE(g_seen.bForced);
}
