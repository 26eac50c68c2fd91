#include "framework_test_app.h"

std::vector<std::string> g_log;
BOOL g_bDisableCommand = TRUE;
int g_nCheck = 0;
std::string g_strPane = "Pane = 1";
BOOL g_bFailFrameCreate = FALSE;
int g_nDocsDestroyed = 0, g_nFramesDestroyed = 0, g_nViewsDestroyed = 0;

IMPLEMENT_DYNCREATE(CTestDoc, CDocument)
IMPLEMENT_DYNCREATE(CTestView, CView)
IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
    ON_COMMAND(ID_TEST_VIEW, OnDocView)
    ON_COMMAND(ID_TEST_DOC, OnDocDoc)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CTestView, CView)
    ON_COMMAND(ID_TEST_VIEW, OnView)
    ON_COMMAND(ID_TEST_DISABLED, OnDisabled)
    ON_UPDATE_COMMAND_UI(ID_TEST_DISABLED, OnUpdateDisabled)
    ON_UPDATE_COMMAND_UI(ID_TEST_CHECKED, OnUpdateChecked)
    ON_COMMAND(ID_TEST_PANE, OnPane)
    ON_UPDATE_COMMAND_UI(ID_TEST_PANE, OnUpdatePane)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(ID_TEST_VIEW, OnFrameView)
    ON_COMMAND(ID_TEST_DOC, OnFrameDoc)
    ON_COMMAND(ID_TEST_FRAME, OnFrameFrame)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_TEST_VIEW, OnAppCommand)
    ON_COMMAND(ID_TEST_DOC, OnAppCommand)
    ON_COMMAND(ID_TEST_FRAME, OnAppCommand)
    ON_COMMAND(ID_TEST_APP, OnAppCommand)
END_MESSAGE_MAP()

CTestApp theTestApp;

int CTestFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    if (g_bFailFrameCreate)
        return -1;
    static const UINT buttons[] = {ID_TEST_VIEW, ID_SEPARATOR, ID_TEST_DISABLED, ID_TEST_CHECKED, ID_TEST_ORPHAN};
    static const UINT panes[] = {ID_SEPARATOR, ID_TEST_PANE, ID_TEST_DEAD_PANE};
    if (!m_wndToolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP) ||
        (m_wndToolBar.SetSizes(SIZE{39, 39}, SIZE{32, 32}), !m_wndToolBar.LoadBitmap(IDR_TESTFRAME)) ||
        !m_wndToolBar.SetButtons(buttons, 5) || !m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(panes, 3))
        return -1;
    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
    return CFrameWnd::OnCreate(lpcs);
}

void StartFramework()
{
    static BOOL started = FALSE;
    if (!started) {
        started = TRUE;
        AfxWinInit(::GetModuleHandleA(nullptr), const_cast<LPSTR>(""), SW_SHOWNORMAL);
        theTestApp.AddDocTemplate(new CSingleDocTemplate(IDR_TESTFRAME, RUNTIME_CLASS(CTestDoc),
                                                         RUNTIME_CLASS(CTestFrame), RUNTIME_CLASS(CTestView)));
    }
}

CTestFrame* OpenTestFrame()
{
    StartFramework();
    theTestApp.m_nCmdShow = SW_SHOWNORMAL;
    // The template's frame is not the main window by itself: the test
    // frame makes itself the main window, as an application's frame does.
    if (!theTestApp.m_templateList.front()->OpenDocumentFile(nullptr))
        return nullptr;
    PumpMessages();
    return static_cast<CTestFrame*>(AfxGetMainWnd());
}

void CloseTestFrame()
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->DestroyWindow();
    PumpMessages();
    theTestApp.m_pMainWnd = nullptr;
}

BOOL PumpMessages()
{
    BOOL quit = FALSE;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit = TRUE;
            continue;
        }
        if (!theTestApp.PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return quit;
}

void IdlePasses(int nPasses)
{
    for (int i = 0; i < nPasses; ++i) {
        PumpMessages();
        theTestApp.OnIdle(0);
        theTestApp.OnIdle(1);
    }
}
