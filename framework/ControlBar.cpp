#include "ControlBar.h"
#include "FrameWnd.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

namespace {

const int kEtchedLine = 2;   // a shadow row and a highlight row

}   // namespace

// A bar's window goes with the bar (a toolbar destroys it itself first,
// before it frees its image strip).
CControlBar::~CControlBar()
{
    if (m_hWnd)
        DestroyWindow();
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
}

void CControlBar::PostNcDestroy()
{
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
}

BOOL CControlBar::CreateBar(const char* lpszClass, CWnd* pParentWnd, DWORD dwStyle, DWORD dwCtrlStyle, UINT nID)
{
    if (!pParentWnd || !pParentWnd->m_hWnd)
        return FALSE;
    m_dwStyle = dwStyle & CBRS_ALL;
    DWORD style = (dwStyle & 0xFFFF0000u) | WS_CHILD | dwCtrlStyle;
    HWND hWnd = ::CreateWindowExA(0, lpszClass, nullptr, style, 0, 0, 0, 0, pParentWnd->m_hWnd,
                                  reinterpret_cast<HMENU>(UINT_PTR(nID)), AfxGetInstanceHandle(), nullptr);
    if (!hWnd || !SubclassWindow(hWnd)) {
        if (hWnd)
            ::DestroyWindow(hWnd);
        return FALSE;
    }
    // The control sized its client area before the subclass could leave
    // room for the borders.
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (pParentWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        m_pDockSite = static_cast<CFrameWnd*>(pParentWnd);
        m_pDockSite->AddControlBar(this);
        m_pDockSite->DelayRecalcLayout();
    }
    return TRUE;
}

int CControlBar::BorderHeight() const
{
    return ((m_dwStyle & CBRS_BORDER_TOP) ? kEtchedLine : 0) + ((m_dwStyle & CBRS_BORDER_BOTTOM) ? kEtchedLine : 0);
}

void CControlBar::DrawBorders()
{
    if (!(m_dwStyle & (CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM)))
        return;
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    HDC hdc = ::GetWindowDC(m_hWnd);
    if (!hdc)
        return;
    auto row = [&](int y, int nColor) {
        RECT line = {0, y, cx, y + 1};
        ::FillRect(hdc, &line, ::GetSysColorBrush(nColor));
    };
    if (m_dwStyle & CBRS_BORDER_TOP) {
        row(0, COLOR_BTNSHADOW);
        row(1, COLOR_BTNHIGHLIGHT);
    }
    if (m_dwStyle & CBRS_BORDER_BOTTOM) {
        row(cy - 2, COLOR_BTNSHADOW);
        row(cy - 1, COLOR_BTNHIGHLIGHT);
    }
    ::ReleaseDC(m_hWnd, hdc);
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT r = CWnd::WindowProc(message, wParam, lParam);
    if (message == WM_NCCALCSIZE) {
        // With or without wParam, lParam starts with the rectangle that
        // becomes the client area.
        RECT* pClient = reinterpret_cast<RECT*>(lParam);
        if (m_dwStyle & CBRS_BORDER_TOP)
            pClient->top += kEtchedLine;
        if (m_dwStyle & CBRS_BORDER_BOTTOM)
            pClient->bottom -= kEtchedLine;
        if (pClient->bottom < pClient->top)
            pClient->bottom = pClient->top;
    } else if (message == WM_NCPAINT) {
        DrawBorders();
    }
    return r;
}
