// The settings file: what the view reads at creation, the first-run hint
// and the run counter written when the view goes.
#include "view_test_support.h"
#include "app/ViewCalls.h"
#include "resources/resource.h"
#include "surface/SurfaceState.h"
#include <climits>
#include <thread>

namespace {

using ViewSettingsFile = ViewFixture;

BOOL CALLBACK FindVisibleDialog(HWND h, LPARAM l)
{
    char cls[16] = "";
    ::GetClassNameA(h, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") == 0 && ::IsWindowVisible(h)) {
        *reinterpret_cast<HWND*>(l) = h;
        return FALSE;
    }
    return TRUE;
}

std::string HintText() { return AfxLoadString(IDS_WING_INSTALL_HINT); }

}   // namespace

TEST_F(ViewSettingsFile, TheRunCounterGrowsByOneAndTheHintComesOnlyOnTheFirstRunWithoutWinG)
{
    // No file at all: run 0.
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_pView->m_nNumRuns, 0);
    if (WinGLibraryPresent()) {
        EXPECT_TRUE(g_hintBoxes.empty());
    } else {
        ASSERT_EQ(g_hintBoxes.size(), 1u);
        EXPECT_EQ(g_hintBoxes[0].text, HintText());
        EXPECT_EQ(g_hintBoxes[0].flags, UINT(MB_ICONINFORMATION | MB_OK));
    }
    Stop();
    EXPECT_EQ(GetSetting("Velmora", "Num Runs"), "1");

    // The second run: no hint whatever the library.
    g_hintBoxes.clear();
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_pView->m_nNumRuns, 1);
    EXPECT_TRUE(g_hintBoxes.empty());
    Stop();
    EXPECT_EQ(GetSetting("Velmora", "Num Runs"), "2");

    SetSetting("Velmora", "Num Runs", "41");
    ASSERT_TRUE(Start());
    Stop();
    EXPECT_EQ(GetSetting("Velmora", "Num Runs"), "42");
}

TEST_F(ViewSettingsFile, DoNotUseKeepsWinGAwayAndShowsNoHint)
{
    SetSetting("WinG", "Do Not Use", "1");
    ASSERT_TRUE(Start());
    EXPECT_FALSE(g_bWinGInUse);
    EXPECT_EQ(m_pView->m_nDisplaySize, DISPLAY_NORMAL);
    EXPECT_TRUE(g_hintBoxes.empty());
    EXPECT_EQ(QueryUpdate(m_pView, ID_DISPLAY_WINDOW).enabled, 0);
    m_pFrame->SendMessage(WM_COMMAND, ID_DISPLAY_WINDOW, 0);
    EXPECT_EQ(m_pView->m_nDisplaySize, DISPLAY_NORMAL);
    Stop();
    EXPECT_EQ(GetSetting("Velmora", "Num Runs"), "1");
}

TEST_F(ViewSettingsFile, ForceOrientationReachesTheSurface)
{
    if (!WinGLibraryPresent())
        GTEST_SKIP() << "the orientation is forced only while WinG is in use";
    for (int32_t orientation : {ORIENT_TOP_DOWN, ORIENT_BOTTOM_UP}) {
        SetSetting("WinG", "Force Orientation", orientation == ORIENT_TOP_DOWN ? "2" : "1");
        ASSERT_TRUE(Start());
        EXPECT_TRUE(g_bWinGInUse);
        EXPECT_EQ(g_nOrientation, orientation);
        Stop();
    }
}

// Damaged values are read the way the profile functions read them, and the
// counter never wraps into a negative or zero count nor goes down.
TEST_F(ViewSettingsFile, DamagedValuesReadAsTheProfileFunctionsReadThemAndTheCounterNeverGoesDown)
{
    struct Case {
        const char* text;
        int32_t read;   // what GetPrivateProfileIntA gives under Wine
        bool outOfRange;
        const char* after;   // the key after a run
    };
    const Case cases[] = {
        {"abc", 0, false, "1"},
        {"12abc", 12, false, "13"},
        {" 7", 7, false, "8"},
        {"2147483646", 2147483646, false, "2147483647"},
        {"2147483647", 2147483647, false, "2147483647"},
        {"-5", -5, false, "-5"},
        {"99999999999", int32_t(1215752191), true, "99999999999"},
        {"4294967296", 0, true, "4294967296"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SetSetting("Velmora", "Num Runs", c.text);
        SetSetting("WinG", "Do Not Use", c.text);
        SetSetting("WinG", "Force Orientation", c.text);
        const ViewSettings s = ReadViewSettings();
        EXPECT_EQ(s.nNumRuns, c.read);
        EXPECT_EQ(s.nDoNotUse, c.read);
        EXPECT_EQ(s.nForceOrientation, c.read);
        EXPECT_EQ(s.bNumRunsOutOfRange, c.outOfRange);
        RemoveSettingsFile();
    }
    // Whole runs with a damaged counter: start-up goes on, the key is
    // written only when the count can grow.
    for (const Case& c : {cases[0], cases[4], cases[5], cases[6]}) {
        SCOPED_TRACE(c.text);
        g_hintBoxes.clear();
        SetSetting("Velmora", "Num Runs", c.text);
        ASSERT_TRUE(Start());
        EXPECT_EQ(m_pView->m_nNumRuns, c.read);
        // Only a count read as 0 marks a first run.
        EXPECT_EQ(g_hintBoxes.size(), c.read == 0 && !WinGLibraryPresent() ? 1u : 0u);
        Stop();
        EXPECT_EQ(GetSetting("Velmora", "Num Runs"), c.after);
        RemoveSettingsFile();
    }
}

// The frame rate is a decimal number 1..1000 or nothing: what the profile
// functions would read partly or wrapped leaves the flight unpaced. The
// loop learns the value through the view.
TEST_F(ViewSettingsFile, TheFrameRateReachesTheLoopOnlyWhenItIsOneToAThousand)
{
    EXPECT_EQ(ReadViewSettings().nFrameRate, 0);   // no file
    const struct {
        const char* text;
        int32_t rate;
    } cases[] = {{"60", 60},
                 {" 1000 ", 1000},
                 {"60x", 0},
                 {"4294967356", 0},
                 {"1001", 0},
                 {"0", 0},
                 {"60                                      x", 0}};   // longer than the read
    for (const auto& c : cases) {
        SetSetting("Velmora", "Frame Rate", c.text);
        EXPECT_EQ(ReadViewSettings().nFrameRate, c.rate) << c.text;
    }
    SetSetting("Velmora", "Frame Rate", "60");
    ASSERT_TRUE(Start());
    EXPECT_EQ(ShellFrameRate(m_pView), 60);
    Stop();
}

TEST(RunCount, GrowsByOneAndStopsAtTheTop)
{
    EXPECT_EQ(NextRunCount(0, false), 1);
    EXPECT_EQ(NextRunCount(5, false), 6);
    EXPECT_EQ(NextRunCount(INT32_MAX - 1, false), INT32_MAX);
    EXPECT_EQ(NextRunCount(INT32_MAX, false), INT32_MAX);
    EXPECT_EQ(NextRunCount(-1, false), -1);
    EXPECT_EQ(NextRunCount(INT32_MIN, false), -1);
    EXPECT_EQ(NextRunCount(12, true), -1);
}

// The real box: captioned with the program's title, the information icon,
// string 3; it is read and closed from another thread.
TEST_F(ViewSettingsFile, TheHintIsAnInformationBoxCaptionedWithTheTitle)
{
    if (WinGLibraryPresent())
        GTEST_SKIP() << "the hint appears only without WinG";
    g_pfnViewMessageBox = [](const char* pszText, UINT nType) { return AfxMessageBox(pszText, nType, 0); };
    const DWORD tid = ::GetCurrentThreadId();
    std::string caption, text;
    bool bIcon = false;
    std::thread watcher([&] {
        for (int i = 0; i < 400; ++i) {
            HWND hBox = nullptr;
            ::EnumThreadWindows(tid, &FindVisibleDialog, LPARAM(&hBox));
            if (hBox) {
                ::Sleep(50);
                char buf[512] = "";
                ::GetWindowTextA(hBox, buf, sizeof buf);
                caption = buf;
                for (HWND h = ::GetWindow(hBox, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
                    ::GetClassNameA(h, buf, sizeof buf);
                    if (lstrcmpiA(buf, "Static") != 0)
                        continue;
                    if ((::GetWindowLongA(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                        bIcon = true;
                        continue;
                    }
                    ::GetWindowTextA(h, buf, sizeof buf);
                    if (lstrlenA(buf) > int(text.size()))
                        text = buf;
                }
                ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
                return;
            }
            ::Sleep(25);
        }
    });
    const bool bStarted = Start();
    watcher.join();
    ASSERT_TRUE(bStarted);
    EXPECT_EQ(caption, "Velmora 95");
    EXPECT_EQ(text, HintText());
    EXPECT_TRUE(bIcon);
}
