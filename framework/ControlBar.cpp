#include "ControlBar.h"
#include "FrameWnd.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

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
    if (pParentWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        m_pDockSite = static_cast<CFrameWnd*>(pParentWnd);
        m_pDockSite->AddControlBar(this);
        m_pDockSite->DelayRecalcLayout();
    }
    return TRUE;
}
