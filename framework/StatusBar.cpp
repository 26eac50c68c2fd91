#include "StatusBar.h"
#include "FrameWnd.h"
#include <commctrl.h>

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

namespace {

const int kPaneGap = 2;      // between two panes
const int kTextMargin = 6;   // around a pane's text

// Update object for one pane: a disabled pane shows no text.
class CStatusCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        CStatusBar* pBar = Bar();
        UINT style = pBar->GetPaneStyle(int(m_nIndex));
        pBar->SetPaneStyle(int(m_nIndex), bOn ? style & ~SBPS_DISABLED : style | SBPS_DISABLED);
    }
    void SetCheck(int nCheck) override
    {
        CStatusBar* pBar = Bar();
        UINT style = pBar->GetPaneStyle(int(m_nIndex));
        pBar->SetPaneStyle(int(m_nIndex), nCheck ? style | SBPS_POPOUT : style & ~SBPS_POPOUT);
    }
    void SetText(const char* lpszText) override { Bar()->SetPaneText(int(m_nIndex), lpszText); }

private:
    CStatusBar* Bar() const { return static_cast<CStatusBar*>(m_pOther); }
};

}   // namespace

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateBar(STATUSCLASSNAMEA, pParentWnd, dwStyle, CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, nID);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (nIDCount <= 0 || nIDCount > 255)
        return FALSE;
    m_panes.clear();
    m_edges.clear();
    HDC hdc = ::GetDC(m_hWnd);
    HFONT hFont = HFONT(SendMessage(WM_GETFONT));
    HGDIOBJ hOld = hFont ? ::SelectObject(hdc, hFont) : nullptr;
    BOOL ok = TRUE;
    for (int i = 0; i < nIDCount; ++i) {
        Pane p = {lpIDArray ? lpIDArray[i] : ID_SEPARATOR, SBPS_NORMAL, 0, std::string()};
        if (p.nID == ID_SEPARATOR) {
            p.nStyle = SBPS_STRETCH | SBPS_NOBORDERS;
        } else {
            p.text = AfxLoadString(p.nID);
            if (p.text.empty())
                ok = FALSE;   // an indicator needs its string
            SIZE size = {0, 0};
            ::GetTextExtentPoint32A(hdc, p.text.c_str(), int(p.text.size()), &size);
            p.cxText = size.cx;
        }
        m_panes.push_back(p);
    }
    if (hOld)
        ::SelectObject(hdc, hOld);
    ::ReleaseDC(m_hWnd, hdc);
    RECT rc;
    GetClientRect(&rc);
    UpdatePartEdges(rc.right);
    for (int i = 0; i < nIDCount; ++i)
        ShowPane(i);
    if (m_pDockSite)
        m_pDockSite->DelayRecalcLayout();
    return ok;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    return nIndex >= 0 && size_t(nIndex) < m_panes.size() ? m_panes[size_t(nIndex)].nID : 0;
}

void CStatusBar::UpdatePartEdges(int cxClient)
{
    // Right edges: fixed panes at the right, the stretching pane takes the
    // rest; the last pane runs to the bar's right end.
    int n = int(m_panes.size());
    std::vector<int> edges(size_t(n), -1);
    int fixed = 0;
    for (const Pane& p : m_panes)
        if (!(p.nStyle & SBPS_STRETCH))
            fixed += p.cxText + 2 * kTextMargin + kPaneGap;
    int stretch = cxClient - fixed;
    if (stretch < 0)
        stretch = 0;
    int x = 0;
    for (int i = 0; i < n; ++i) {
        const Pane& p = m_panes[size_t(i)];
        x += (p.nStyle & SBPS_STRETCH) ? stretch : p.cxText + 2 * kTextMargin + kPaneGap;
        edges[size_t(i)] = i == n - 1 ? -1 : x;
    }
    if (edges == m_edges)
        return;
    m_edges = edges;
    SendMessage(SB_SETPARTS, WPARAM(n), LPARAM(m_edges.data()));
}

void CStatusBar::ShowPane(int nIndex)
{
    const Pane& p = m_panes[size_t(nIndex)];
    UINT type = 0;
    if (p.nStyle & SBPS_NOBORDERS)
        type |= SBT_NOBORDERS;
    if (p.nStyle & SBPS_POPOUT)
        type |= SBT_POPOUT;
    const char* text = (p.nStyle & SBPS_DISABLED) ? "" : p.text.c_str();
    SendMessage(SB_SETTEXTA, WPARAM(UINT(nIndex) | type), LPARAM(text));
}

BOOL CStatusBar::SetPaneText(int nIndex, const char* lpszNewText, BOOL bUpdate)
{
    if (nIndex < 0 || size_t(nIndex) >= m_panes.size())
        return FALSE;
    Pane& p = m_panes[size_t(nIndex)];
    const char* text = lpszNewText ? lpszNewText : "";
    if (p.text == text)
        return TRUE;
    p.text = text;
    if (bUpdate && !(p.nStyle & SBPS_DISABLED))
        ShowPane(nIndex);
    return TRUE;
}

std::string CStatusBar::GetPaneText(int nIndex) const
{
    return nIndex >= 0 && size_t(nIndex) < m_panes.size() ? m_panes[size_t(nIndex)].text : std::string();
}

UINT CStatusBar::GetPaneStyle(int nIndex) const
{
    return nIndex >= 0 && size_t(nIndex) < m_panes.size() ? m_panes[size_t(nIndex)].nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    if (nIndex < 0 || size_t(nIndex) >= m_panes.size())
        return;
    Pane& p = m_panes[size_t(nIndex)];
    if (p.nStyle == nStyle)
        return;
    p.nStyle = nStyle;
    ShowPane(nIndex);
}

int CStatusBar::CalcHeight()
{
    HDC hdc = ::GetDC(m_hWnd);
    HFONT hFont = HFONT(SendMessage(WM_GETFONT));
    HGDIOBJ hOld = hFont ? ::SelectObject(hdc, hFont) : nullptr;
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(hdc, &tm);
    if (hOld)
        ::SelectObject(hdc, hOld);
    ::ReleaseDC(m_hWnd, hdc);
    int borders[3] = {0, 0, 0};
    SendMessage(SB_GETBORDERS, 0, LPARAM(borders));
    return tm.tmHeight + 2 * borders[1] + 6 + BorderHeight();
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler)
{
    CStatusCmdUI state;
    state.m_pOther = this;
    for (size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i].nID == ID_SEPARATOR)
            continue;
        state.m_nIndex = UINT(i);
        state.m_nID = m_panes[i].nID;
        state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
}

LRESULT CStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT r = CControlBar::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE && !m_panes.empty())
        UpdatePartEdges(short(LOWORD(lParam)));
    return r;
}
