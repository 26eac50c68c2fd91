#include "FrameWnd.h"
#include "ControlBar.h"
#include "Document.h"
#include "StatusBar.h"
#include "View.h"
#include "WinApp.h"
#include <algorithm>
#include <commctrl.h>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_SETFOCUS()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_MESSAGE(WM_EXITMENULOOP, OnExitMenuLoop)
END_MESSAGE_MAP()

std::string AfxLoadString(UINT nID)
{
    char buf[1024];
    int n = ::LoadStringA(AfxGetResourceHandle(), nID, buf, int(sizeof buf));
    return std::string(buf, n > 0 ? size_t(n) : 0);
}

CFrameWnd::~CFrameWnd()
{
    for (CControlBar* pBar : m_listControlBars)
        pBar->m_pDockSite = nullptr;
    if (m_hAccelTable)
        ::DestroyAcceleratorTable(m_hAccelTable);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass) {
        HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDResource));
        cs.lpszClass = RegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW), HBRUSH(COLOR_WINDOW + 1), hIcon);
    }
    return cs.lpszClass != nullptr;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDResource = nIDResource;
    std::string docString = AfxLoadString(nIDResource);
    m_strTitle = docString.substr(0, docString.find('\n'));
    HINSTANCE hInst = AfxGetResourceHandle();
    HMENU hMenu = ::LoadMenuA(hInst, MAKEINTRESOURCEA(nIDResource));
    if (!CreateEx(0, nullptr, m_strTitle.c_str(), dwDefaultStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, pParentWnd ? pParentWnd->m_hWnd : nullptr, hMenu, pContext)) {
        // The window procedure finished (and deleted) this frame already;
        // the menu went with the window if the window ever existed.
        return FALSE;
    }
    m_hAccelTable = ::LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(nIDResource));
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    auto* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (!OnCreateClient(lpcs, pContext))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext && pContext->m_pNewViewClass)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    auto* pView = static_cast<CWnd*>(AfxCreateObjectOfKind(pContext->m_pNewViewClass, RUNTIME_CLASS(CWnd)));
    if (!pView)
        return nullptr;
    RECT rect = {0, 0, 0, 0};
    // A failed creation has already deleted the view.
    if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, rect, this, nID, pContext))
        return nullptr;
    return pView;
}

void CFrameWnd::AddControlBar(CControlBar* pBar)
{
    if (std::find(m_listControlBars.begin(), m_listControlBars.end(), pBar) == m_listControlBars.end())
        m_listControlBars.push_back(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    m_listControlBars.erase(std::remove(m_listControlBars.begin(), m_listControlBars.end(), pBar),
                            m_listControlBars.end());
}

namespace {

// Moves a child only when its rectangle changes.
void PlaceChild(HWND hParent, HWND hChild, const RECT& r)
{
    RECT cur;
    ::GetWindowRect(hChild, &cur);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&cur), 2);
    if (!::EqualRect(&cur, &r))
        ::MoveWindow(hChild, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

}   // namespace

void CFrameWnd::RecalcLayout(BOOL)
{
    if (!m_hWnd)
        return;
    RECT area;
    GetClientRect(&area);
    for (CControlBar* pBar : m_listControlBars) {
        if (!pBar->m_hWnd || !(pBar->GetStyle() & WS_VISIBLE))
            continue;
        int h = pBar->CalcHeight();
        RECT r = area;
        if (pBar->m_dwStyle & CBRS_ALIGN_BOTTOM) {
            r.top = area.bottom - h;
            area.bottom = r.top;
        } else {
            r.bottom = area.top + h;
            area.top = r.bottom;
        }
        PlaceChild(m_hWnd, pBar->m_hWnd, r);
    }
    if (area.bottom < area.top)
        area.bottom = area.top;
    if (HWND hView = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST))
        PlaceChild(m_hWnd, hView, area);
}

void CFrameWnd::OnSize(UINT nType, int, int)
{
    Default();
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnClose() { DestroyWindow(); }

void CFrameWnd::OnSetFocus(CWnd*)
{
    if (m_pViewActive && m_pViewActive->m_hWnd)
        m_pViewActive->SetFocus();
    else
        Default();
}

void CFrameWnd::SetActiveView(CView* pViewNew) { m_pViewActive = pViewNew; }

CDocument* CFrameWnd::GetActiveDocument() { return m_pViewActive ? m_pViewActive->GetDocument() : nullptr; }

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this && pApp->m_nCmdShow != -1) {
        nCmdShow = pApp->m_nCmdShow;   // the start-up show state applies once
        pApp->m_nCmdShow = -1;
    }
    if (nCmdShow == -1)
        nCmdShow = IsWindowVisible() ? SW_SHOW : SW_SHOWNORMAL;
    ShowWindow(nCmdShow);
    ::BringWindowToTop(m_hWnd);
    UpdateWindow();
}

void CFrameWnd::UpdateFrameTitle()
{
    std::string title = m_strTitle;
    CDocument* pDoc = GetActiveDocument();
    if ((GetStyle() & FWS_ADDTOTITLE) && pDoc && !pDoc->GetTitle().empty())
        title = pDoc->GetTitle() + " - " + m_strTitle;
    char cur[256] = "";
    GetWindowText(cur, int(sizeof cur));
    if (title != cur)
        SetWindowText(title.c_str());
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible)
{
    CView* pView = nullptr;
    if (CWnd* pWnd = FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST)))
        if (pWnd->IsKindOf(RUNTIME_CLASS(CView)))
            pView = static_cast<CView*>(pWnd);
    if (pView) {
        SetActiveView(pView);
        pView->OnInitialUpdate();
    }
    if (bMakeVisible) {
        UpdateFrameTitle();
        ActivateFrame();
    }
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // View (which asks its document), then this frame, then the application.
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable)
        return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg) != 0;
    return FALSE;
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    if (m_nIdleFlags & idleLayout) {
        m_nIdleFlags &= ~UINT(idleLayout);
        RecalcLayout();
    }
    for (CControlBar* pBar : m_listControlBars)
        if (pBar->m_hWnd && (pBar->GetStyle() & WS_VISIBLE))
            pBar->OnUpdateCmdUI(this, TRUE);
}

void CFrameWnd::OnInitMenuPopup(HMENU hMenu, UINT, BOOL bSysMenu)
{
    Default();
    if (bSysMenu)
        return;
    CCmdUI state;
    state.m_hMenu = hMenu;
    int count = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i) {
        UINT id = ::GetMenuItemID(hMenu, i);
        if (id == 0 || id == UINT(-1))   // separator or sub-menu
            continue;
        state.m_nIndex = UINT(i);
        state.m_nID = id;
        state.DoUpdate(this, m_bAutoMenuEnable);
    }
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    if (nFlags == 0xFFFF && !hSysMenu) {
        SetMessageText(AFX_IDS_IDLEMESSAGE);   // the menu closed
        return;
    }
    if (nItemID != 0 && !(nFlags & (MF_SEPARATOR | MF_POPUP | MF_SYSMENU)) && !AfxLoadString(nItemID).empty())
        SetMessageText(nItemID);
    else
        SetMessageText(AFX_IDS_IDLEMESSAGE);
}

LRESULT CFrameWnd::OnExitMenuLoop(WPARAM, LPARAM)
{
    SetMessageText(AFX_IDS_IDLEMESSAGE);
    return 0;
}

CWnd* CFrameWnd::GetMessageBar() { return FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_STATUS_BAR)); }

void CFrameWnd::SetMessageText(const char* lpszText)
{
    CWnd* pBar = GetMessageBar();
    if (pBar && pBar->IsKindOf(RUNTIME_CLASS(CStatusBar)))
        static_cast<CStatusBar*>(pBar)->SetPaneText(0, lpszText);
}

void CFrameWnd::SetMessageText(UINT nID)
{
    std::string text = AfxLoadString(nID);
    SetMessageText(text.substr(0, text.find('\n')).c_str());
}

BOOL CFrameWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
    if (pHdr->code != TTN_GETDISPINFOA && pHdr->code != TTN_GETDISPINFOW)
        return FALSE;
    // Tooltips of a bar with the tooltip style: the text after the line
    // break of the command's string.
    CControlBar* pFrom = nullptr;
    for (CControlBar* pBar : m_listControlBars)
        if (pBar->m_hWnd && (pBar->m_dwStyle & CBRS_TOOLTIPS) &&
            (pHdr->hwndFrom == pBar->m_hWnd || pHdr->hwndFrom == pBar->GetToolTipWindow()))
            pFrom = pBar;
    if (!pFrom)
        return FALSE;
    std::string tip;
    UINT_PTR nID = pHdr->idFrom;
    UINT uFlags = pHdr->code == TTN_GETDISPINFOA ? reinterpret_cast<NMTTDISPINFOA*>(lParam)->uFlags
                                                 : reinterpret_cast<NMTTDISPINFOW*>(lParam)->uFlags;
    if (nID != 0 && !(uFlags & TTF_IDISHWND)) {
        std::string s = AfxLoadString(UINT(nID));
        size_t nl = s.find('\n');
        if (nl != std::string::npos)
            tip = s.substr(nl + 1);
    }
    if (pHdr->code == TTN_GETDISPINFOA) {
        auto* p = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        lstrcpynA(p->szText, tip.c_str(), int(sizeof p->szText));
        p->lpszText = p->szText;
        p->hinst = nullptr;
    } else {
        auto* p = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        int n = ::MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, p->szText, int(sizeof p->szText / sizeof(WCHAR)));
        if (n == 0)
            p->szText[0] = 0;
        p->szText[sizeof p->szText / sizeof(WCHAR) - 1] = 0;
        p->lpszText = p->szText;
        p->hinst = nullptr;
    }
    *pResult = 0;
    return TRUE;
}
