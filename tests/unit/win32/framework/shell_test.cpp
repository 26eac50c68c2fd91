// The application shell: start-up, the main loop, the main frame with its
// bars, the command guard and the fatal-error report, activation, exit.
#include "app/FrameSize.h"
#include "failing_new.h"
#include "resources/resource.h"
#include "shell_test_support.h"
#include "starfield/FrameWait.h"
#include <algorithm>
#include <commctrl.h>
#include <mmsystem.h>
#include <gtest/gtest.h>

using Events = std::vector<std::string>;

namespace {

// Dispatches the queue; TRUE when a quit message was in it.
BOOL Drain()
{
    BOOL quit = FALSE;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            quit = TRUE;
        else if (!theShellApp.PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return quit;
}

// One-shot thread timers for the loop's waits.
void CALLBACK RecordTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    g_events.push_back("timer");
}

// The paced, minimised loop's timer: notes whether the finer system timer
// is held, then restores the frame.
int g_nRaised = 0, g_nRaisedMinimised = -1, g_nRaisedAtFrame = -1;
HWND g_hRestoreFrame = nullptr;

void CALLBACK RestoreOnTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    g_events.push_back("restore");
    g_nRaisedMinimised = g_nRaised;
    ::ShowWindow(g_hRestoreFrame, SW_RESTORE);
}

class Shell : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        AfxWinInit(::GetModuleHandleA(nullptr), const_cast<LPSTR>(""), SW_SHOWMINNOACTIVE);
        InstallSoundRecorder();
    }
    void SetUp() override
    {
        g_bRunning = 1;
        g_events.clear();
        g_viewSeen = ViewCreationSeen();
        theShellApp.m_nCmdShow = SW_SHOWMINNOACTIVE;   // ignored: the frame opens maximised
        m_bInit = theShellApp.InitInstance();
        m_pFrame = GetMainFrame();
    }
    void TearDown() override
    {
        if (CWnd* pMain = AfxGetMainWnd())
            pMain->DestroyWindow();
        Drain();
        g_bRunning = 1;
        g_nThrow = 0;
    }
    BOOL m_bInit = FALSE;
    CMainFrame* m_pFrame = nullptr;
};

}   // namespace

TEST(FrameSize, FollowsTheScreenWidthAndStaysInsideTheScreen)
{
    SIZE s = FrameCreationSize(640, 480, 18, 19);
    EXPECT_EQ(s.cx, 440);
    EXPECT_EQ(s.cy, 350 + 18 + 19);
    s = FrameCreationSize(800, 600, 18, 19);
    EXPECT_EQ(s.cx, 660);
    EXPECT_EQ(s.cy, 520 + 37);
    s = FrameCreationSize(641, 480, 18, 19);   // 641 counts as 800-class
    EXPECT_EQ(s.cx, 633);                      // both limited to the screen
    EXPECT_EQ(s.cy, 472);
    s = FrameCreationSize(1024, 768, 18, 19);
    EXPECT_EQ(s.cx, 700);
    EXPECT_EQ(s.cy, 587);
    s = FrameCreationSize(400, 300, 18, 19);
    EXPECT_EQ(s.cx, 392);
    EXPECT_EQ(s.cy, 292);
}

TEST_F(Shell, StartUpBuildsTheMaximisedFrameWithItsBarsBeforeTheView)
{
    ASSERT_TRUE(m_bInit);
    ASSERT_NE(m_pFrame, nullptr);
    EXPECT_TRUE(m_pFrame->IsKindOf(RUNTIME_CLASS(CMainFrame)));
    EXPECT_EQ(::GetPriorityClass(::GetCurrentProcess()), DWORD(HIGH_PRIORITY_CLASS));
    EXPECT_TRUE(::IsZoomed(m_pFrame->m_hWnd));
    char caption[64] = "";
    m_pFrame->GetWindowText(caption, 64);
    EXPECT_STREQ(caption, "Velmora 95");
    EXPECT_EQ(m_pFrame->GetStyle() & 0x00CF0000u, 0x00CF0000u);
    EXPECT_EQ(m_pFrame->GetStyle() & DWORD(FWS_ADDTOTITLE), 0u);
    EXPECT_NE(m_pFrame->SendMessage(WM_GETICON, ICON_SMALL), 0);
    EXPECT_EQ(theShellApp.m_strAppName, "Velmora 95");

    // The view was created inside a frame that was already the main window
    // and had its bars, not yet visible.
    EXPECT_EQ(g_viewSeen.pMainWnd, m_pFrame);
    EXPECT_TRUE(g_viewSeen.bToolBarExisted);
    EXPECT_EQ(g_viewSeen.nToolBarHeight, 0);
    EXPECT_EQ(g_viewSeen.nStatusBarHeight, 0);
    EXPECT_GE(m_pFrame->GetToolBarHeight(), 40);
    EXPECT_GT(m_pFrame->GetStatusBarHeight(), 1);

    static const UINT ids[17] = {57665, 0,     0,     32772, 32773, 32774, 0,     0,    32789,
                                 32790, 32792, 32793, 0,     0,     57664, 32771, 32794};
    CToolBar& bar = m_pFrame->m_wndToolBar;
    ASSERT_EQ(bar.GetCount(), 17);
    int nextImage = 0;
    for (int i = 0; i < 17; ++i) {
        UINT id, style;
        int image;
        bar.GetButtonInfo(i, id, style, image);
        EXPECT_EQ(id, ids[i]) << i;
        if (id) {
            EXPECT_EQ(image, nextImage++) << i;
        }
    }
    EXPECT_EQ(bar.GetDlgCtrlID(), 59392);
    EXPECT_EQ(bar.GetBarStyle() & (CBRS_TOOLTIPS | CBRS_FLYBY), DWORD(CBRS_TOOLTIPS | CBRS_FLYBY));
    RECT button;
    bar.SendMessage(TB_GETITEMRECT, 0, LPARAM(&button));
    EXPECT_EQ(button.right - button.left, 39);
    EXPECT_EQ(button.bottom - button.top, 39);

    CStatusBar& status = m_pFrame->m_wndStatusBar;
    EXPECT_EQ(status.GetDlgCtrlID(), 59393);
    ASSERT_EQ(status.GetCount(), 2);
    EXPECT_EQ(status.GetItemID(1), UINT(ID_INDICATOR_FPS));
    EXPECT_EQ(status.GetPaneText(1), "Fps = 000");
    EXPECT_EQ(status.GetPaneText(0), AfxLoadString(AFX_IDS_IDLEMESSAGE));
}

TEST_F(Shell, LoopRunsTwoIdlePassesAndOneFrameAfterEveryDrainedQueue)
{
    ASSERT_TRUE(m_bInit);
    Drain();
    g_events.clear();
    g_nFramesBeforeQuit = 3;
    EXPECT_EQ(theShellApp.Run(), 5);   // the quit's code, through ExitInstance
    Events expected;
    for (int i = 0; i < 3; ++i)
        expected.insert(expected.end(), {"idle0", "idle1", "frame"});
    EXPECT_EQ(g_events, expected);
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));   // left for outer loops
    EXPECT_EQ(msg.wParam, 5u);
}

// Paced at one frame a second: a message that arrives while the loop waits
// for the second frame is served at once (an idle pass follows it), and the
// loop then waits on; the second frame comes no sooner than its due time.
TEST_F(Shell, PacedLoopServesMessagesWhileItWaitsAndStepsOnlyWhenDue)
{
    ASSERT_TRUE(m_bInit);
    Drain();
    g_events.clear();
    g_nFrameRate = 1;
    g_nFramesBeforeQuit = 2;
    static DWORD s_firstFrame, s_lastFrame;
    static int s_frames;
    s_frames = 0;
    g_pfnAfterFrame = [] {
        s_lastFrame = ::timeGetTime();
        if (++s_frames > 1)
            return;
        s_firstFrame = s_lastFrame;
        ::SetTimer(nullptr, 0, 100, &RecordTimer);
    };
    EXPECT_EQ(theShellApp.Run(), 5);
    g_pfnAfterFrame = nullptr;
    g_nFrameRate = 0;
    ASSERT_EQ(s_frames, 2);
    EXPECT_GE(s_lastFrame - s_firstFrame, 900u);
    const auto timer = std::find(g_events.begin(), g_events.end(), "timer");
    const auto first = std::find(g_events.begin(), g_events.end(), "frame");
    const auto second = std::find(first + 1, g_events.end(), "frame");
    ASSERT_TRUE(first < timer && timer < second);
    EXPECT_GE(std::count(timer, second, "idle0"), 2);
    EXPECT_EQ(*(timer + 1), "idle0");
}

// Minimised, nothing can be seen: the loop steps no frame and sleeps until
// a message comes (a loop that kept running would pass thousands of times).
// Paced, it also gives the finer system timer back until the frame is
// restored and frames are due again.
TEST_F(Shell, WhileMinimisedTheLoopWaitsForMessagesStepsNoFrameAndReleasesTheFinerTimer)
{
    ASSERT_TRUE(m_bInit);
    m_pFrame->ShowWindow(SW_MINIMIZE);
    Drain();
    ASSERT_TRUE(::IsIconic(m_pFrame->m_hWnd));
    g_events.clear();
    g_nRaised = 0;
    g_nRaisedMinimised = g_nRaisedAtFrame = -1;
    g_hRestoreFrame = m_pFrame->m_hWnd;
    const TimerPeriodHooks system = g_timerPeriod;
    g_timerPeriod = {[](uint32_t) { return ++g_nRaised > 0; }, [](uint32_t) { --g_nRaised; }};
    g_nFrameRate = 30;
    g_nFramesBeforeQuit = 1;
    g_pfnAfterFrame = [] { g_nRaisedAtFrame = g_nRaised; };
    ::SetTimer(nullptr, 0, 300, &RestoreOnTimer);
    EXPECT_EQ(theShellApp.Run(), 5);
    g_timerPeriod = system;
    g_pfnAfterFrame = nullptr;
    g_nFrameRate = 0;
    const auto restore = std::find(g_events.begin(), g_events.end(), "restore");
    ASSERT_NE(restore, g_events.end());
    EXPECT_EQ(std::count(g_events.begin(), restore, "frame"), 0);
    EXPECT_LE(std::count(g_events.begin(), restore, "idle0"), 10);
    EXPECT_EQ(g_nRaisedMinimised, 0) << "the finer timer is held while minimised";
    EXPECT_EQ(g_nRaisedAtFrame, 1) << "the finer timer is not raised again once frames are due";
    EXPECT_EQ(g_nRaised, 0) << "the loop's end leaves the finer timer raised";
}

TEST_F(Shell, QuitWithMessagesBehindItEndsTheLoopAtOnce)
{
    ASSERT_TRUE(m_bInit);
    Drain();
    g_events.clear();
    ::PostThreadMessageA(::GetCurrentThreadId(), WM_QUIT, 7, 0);
    m_pFrame->PostMessage(WM_COMMAND, ID_AUDIO_NO_SOUND, 0);
    EXPECT_EQ(theShellApp.Run(), 7);
    EXPECT_EQ(g_events, Events{});
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_COMMAND));   // not dispatched, still queued
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(Shell, ExitPostsTheCloseAndTheFrameGoesOnTheNextDrain)
{
    ASSERT_TRUE(m_bInit);
    m_pFrame->SendMessage(WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_EQ(AfxGetMainWnd(), m_pFrame);   // posted, not sent
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, m_pFrame->m_hWnd, WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
    EXPECT_TRUE(Drain());   // destroying the frame posted the quit
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    theShellApp.OnAppExit();   // no main window: nothing
    EXPECT_FALSE(::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(Shell, AcceleratorsReachTheViewAndF1OpensQuickHelp)
{
    ASSERT_TRUE(m_bInit);
    Drain();
    g_events.clear();
    HWND hView = m_pFrame->GetActiveView()->m_hWnd;
    ::PostMessageA(hView, WM_SYSKEYDOWN, VK_F10, 0x00440001);
    Drain();
    EXPECT_EQ(g_events, Events{"nosound"});
    BoxWatcher watcher;
    ::PostMessageA(hView, WM_KEYDOWN, VK_F1, 0x003B0001);
    Drain();
    EXPECT_EQ(watcher.Wait().caption, "Quick Help");
}

TEST_F(Shell, ActivationPausesAndResumesTheTuneUnlessHalted)
{
    ASSERT_TRUE(m_bInit);
    Drain();
    g_events.clear();
    m_pFrame->SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
    m_pFrame->SendMessage(WM_ACTIVATE, WA_CLICKACTIVE, 0);
    m_pFrame->SendMessage(WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), 0);
    EXPECT_EQ(g_events, (Events{"pause", "resume", "resume"}));
    g_bRunning = 0;
    g_events.clear();
    m_pFrame->SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(g_events, Events{});
}

TEST_F(Shell, ExceptionInACommandStopsRenderingReportsAndExits)
{
    for (int kind = 1; kind <= 2; ++kind) {
        if (!AfxGetMainWnd())
            SetUp();
        ASSERT_TRUE(m_bInit);
        Drain();
        g_nThrow = kind;
        g_bRunning = 1;
        g_nSoundStops = 0;
        BoxWatcher watcher;
        EXPECT_FALSE(m_pFrame->OnCommand(ID_DISPLAY_NORMAL, 0));
        SeenBox box = watcher.Wait();
        EXPECT_EQ(g_bRunning, 0);
        EXPECT_EQ(box.nSoundStops, 1);   // silenced once, before the box appeared
        EXPECT_EQ(box.caption, "Velmora 95");
        EXPECT_EQ(box.text, AfxLoadString(kind == 1 ? IDS_FATAL_OUT_OF_MEMORY : IDS_FATAL_UNEXPECTED));
        EXPECT_EQ(box.hIcon, ::LoadIconA(nullptr, IDI_HAND));   // the stop icon
        MSG msg;
        ASSERT_TRUE(::PeekMessageA(&msg, m_pFrame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_NOREMOVE));
        EXPECT_EQ(msg.wParam, WPARAM(ID_APP_EXIT));
        Drain();   // the posted exit closes the frame
        EXPECT_EQ(AfxGetMainWnd(), nullptr);
        g_nThrow = 0;
    }
}

TEST_F(Shell, FatalErrorWhileCreatingMakesStartUpFail)
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->DestroyWindow();
    Drain();
    g_bFailView = TRUE;
    g_bFatalView = TRUE;
    g_nSoundStops = 0;
    BoxWatcher watcher;
    BOOL result = theShellApp.InitInstance();
    SeenBox box = watcher.Wait();
    g_bFailView = g_bFatalView = FALSE;
    EXPECT_FALSE(result);
    EXPECT_EQ(box.nSoundStops, 1);
    EXPECT_EQ(box.text, AfxLoadString(IDS_FATAL_OUT_OF_MEMORY));
    EXPECT_EQ(box.hIcon, ::LoadIconA(nullptr, IDI_HAND));
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// Out of memory, the report itself must not need any: the exception is
// thrown, the sound silenced and string 4 shown while every allocation of
// this thread fails. (No frame: only the box's own windows run meanwhile.)
TEST_F(Shell, TheOutOfMemoryReportNeedsNoMemory)
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->DestroyWindow();
    Drain();
    g_nSoundStops = 0;
    BoxWatcher watcher;
    BOOL bReported = FALSE;
    {
        CFailingAllocations exhausted;
        try {
            AfxThrowMemoryException();
        } catch (CException* e) {
            theShellApp.ReportFatalError(e);
            e->Delete();
            bReported = TRUE;
        } catch (...) {
        }
    }
    SeenBox box = watcher.Wait();
    EXPECT_TRUE(bReported);
    EXPECT_EQ(box.nSoundStops, 1);
    EXPECT_EQ(box.text, AfxLoadString(IDS_FATAL_OUT_OF_MEMORY));
}
