#include "app/MainFrm.h"
#include "app/FrameSize.h"
#include "app/VelmoraApp.h"
#include "app/ViewCalls.h"
#include "resources/ToolBarLayout.h"
#include "resources/resource.h"
#include "starfield/FrameCalls.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_ACTIVATE()
END_MESSAGE_MAP()

namespace {

const UINT kIndicators[] = {
    ID_SEPARATOR,
    ID_INDICATOR_FPS,
};

// The toolbar at the top with a border below, the status bar at the bottom
// with a border above; the frame is a plain overlapped window.
constexpr DWORD kToolBarStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP;
constexpr DWORD kStatusBarStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM;
constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW;
static_assert(kToolBarStyle == 0x50002800 && kStatusBarStyle == 0x50008200 && kFrameStyle == 0x00CF0000);

int BarHeight(CControlBar& bar)
{
    if (!bar.m_hWnd || !bar.IsWindowVisible())
        return 0;
    RECT r;
    bar.GetWindowRect(&r);
    return r.bottom - r.top + 1;
}

}   // namespace

CMainFrame* GetMainFrame()
{
    CWnd* pMain = AfxGetMainWnd();
    return pMain && pMain->IsKindOf(RUNTIME_CLASS(CMainFrame)) ? static_cast<CMainFrame*>(pMain) : nullptr;
}

CMainFrame::CMainFrame()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->m_pMainWnd = this;
}

// The members go in reverse order: the toolbar, then the status bar.
CMainFrame::~CMainFrame() = default;

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    SIZE size = FrameCreationSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                                  ::GetSystemMetrics(SM_CYCAPTION), ::GetSystemMetrics(SM_CYMENU));
    cs.cx = size.cx;
    cs.cy = size.cy;
    // The whole style is replaced, so the document's name never joins the
    // caption.
    cs.style = LONG(kFrameStyle);
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    if (!m_wndToolBar.Create(this, kToolBarStyle, AFX_IDW_TOOLBAR))
        return -1;
    m_wndToolBar.SetSizes(SIZE{39, 39}, SIZE{32, 32});
    if (!m_wndToolBar.LoadBitmap(IDR_MAINFRAME))
        return -1;
    if (!m_wndToolBar.SetButtons(kToolBarButtons, kToolBarButtonCount))
        return -1;
    if (!m_wndStatusBar.Create(this, kStatusBarStyle, AFX_IDW_STATUS_BAR))
        return -1;
    if (!m_wndStatusBar.SetIndicators(kIndicators, int(sizeof kIndicators / sizeof kIndicators[0])))
        return -1;
    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
    SetMessageText(AFX_IDS_IDLEMESSAGE);
    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (!hIcon)
        return -1;
    SendMessage(WM_SETICON, ICON_SMALL, LPARAM(hIcon));
    // Creates the view: the bars exist and this is the main window by now.
    if (CFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    return 0;
}

BOOL CMainFrame::OnEraseBkgnd(CDC* pDC)
{
    HGDIOBJ hBrush = ::GetStockObject(LTGRAY_BRUSH);
    HGDIOBJ hPen = ::GetStockObject(NULL_PEN);
    HGDIOBJ hOldBrush = hBrush ? pDC->SelectObject(hBrush) : nullptr;
    HGDIOBJ hOldPen = hPen ? pDC->SelectObject(hPen) : nullptr;
    RECT r;
    GetClientRect(&r);
    ::InflateRect(&r, 1, 1);
    ::Rectangle(pDC->m_hDC, r.left, r.top, r.right, r.bottom);
    if (hOldBrush)
        pDC->SelectObject(hOldBrush);
    if (hOldPen)
        pDC->SelectObject(hOldPen);
    return TRUE;
}

// Replaces the framework's activation processing: only the tune follows
// the activation.
void CMainFrame::OnActivate(UINT nState, CWnd*, BOOL)
{
    if (!g_bRunning)
        return;
    CView* pView = GetActiveView();
    if (!pView)
        return;
    if (nState == WA_INACTIVE)
        ShellPauseTune(pView);
    else
        ShellResumeTune(pView);
}

BOOL CMainFrame::OnCommand(WPARAM wParam, LPARAM lParam)
{
    try {
        return CFrameWnd::OnCommand(wParam, lParam);
    } catch (CException* e) {
        // The posted exit closes the frame once the message box is gone.
        HaltOnFatalError(e);
        PostMessage(WM_COMMAND, ID_APP_EXIT, 0);
        return FALSE;
    }
}

int CMainFrame::GetToolBarHeight() { return BarHeight(m_wndToolBar); }

int CMainFrame::GetStatusBarHeight() { return BarHeight(m_wndStatusBar); }
