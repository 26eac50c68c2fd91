#include "ToolBar.h"
#include "FrameWnd.h"
#include <commctrl.h>

#ifndef TBIF_BYINDEX
#define TBIF_BYINDEX 0x80000000
#endif

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

namespace {

const int kSeparatorWidth = 8;

// Update object for one toolbar button.
class CToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        Bar()->SetButtonState(int(m_nIndex), TBSTATE_ENABLED, bOn ? TBSTATE_ENABLED : 0);
    }
    void SetCheck(int nCheck) override
    {
        BYTE state = nCheck == 1 ? TBSTATE_CHECKED : nCheck == 2 ? TBSTATE_INDETERMINATE : 0;
        Bar()->SetButtonState(int(m_nIndex), TBSTATE_CHECKED | TBSTATE_INDETERMINATE, state);
    }
    void SetText(const char*) override {}

private:
    CToolBar* Bar() const { return static_cast<CToolBar*>(m_pOther); }
};

}   // namespace

CToolBar::~CToolBar()
{
    if (m_hWnd)
        DestroyWindow();
    if (m_hbmImages)
        ::DeleteObject(m_hbmImages);
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    // The control always gets a tooltip window; the bar's tooltip style
    // decides whether the frame answers its text requests. The control's
    // own divider (a line along its top) is off: the bar's border styles
    // draw the lines.
    DWORD ctrl = TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (!CreateBar(TOOLBARCLASSNAME, pParentWnd, dwStyle, ctrl, nID))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
    if (m_pDockSite)
        m_pDockSite->DelayRecalcLayout();
}

BOOL CToolBar::LoadBitmap(UINT nIDResource)
{
    // The strip's greys, black and white follow the system's button colours.
    HBITMAP hbm = ::CreateMappedBitmap(AfxGetResourceHandle(), INT_PTR(nIDResource), 0, nullptr, 0);
    if (!hbm)
        return FALSE;
    BITMAP bm = {};
    ::GetObjectA(hbm, sizeof bm, &bm);
    int nImages = m_sizeImage.cx > 0 ? bm.bmWidth / m_sizeImage.cx : 0;
    TBADDBITMAP tb = {nullptr, UINT_PTR(hbm)};
    if (nImages <= 0 || SendMessage(TB_ADDBITMAP, WPARAM(nImages), LPARAM(&tb)) == -1) {
        ::DeleteObject(hbm);
        return FALSE;
    }
    if (m_hbmImages)
        ::DeleteObject(m_hbmImages);
    m_hbmImages = hbm;
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    while (SendMessage(TB_BUTTONCOUNT) > 0)
        SendMessage(TB_DELETEBUTTON, 0);
    m_buttons.clear();
    std::vector<TBBUTTON> tb(size_t(nIDCount > 0 ? nIDCount : 0));
    int iImage = 0;
    for (int i = 0; i < nIDCount; ++i) {
        TBBUTTON& b = tb[size_t(i)];
        b = TBBUTTON{};
        UINT id = lpIDArray ? lpIDArray[i] : ID_SEPARATOR;
        if (id == ID_SEPARATOR) {
            b.iBitmap = kSeparatorWidth;
            b.fsStyle = TBSTYLE_SEP;
            m_buttons.push_back({0, BYTE(TBSTYLE_SEP), 0, -1});
        } else {
            b.iBitmap = iImage;
            b.idCommand = int(id);
            b.fsStyle = TBSTYLE_BUTTON;
            b.fsState = TBSTATE_ENABLED;
            m_buttons.push_back({id, BYTE(TBSTYLE_BUTTON), BYTE(TBSTATE_ENABLED), iImage});
            ++iImage;
        }
    }
    BOOL ok = nIDCount == 0 || SendMessage(TB_ADDBUTTONSA, WPARAM(nIDCount), LPARAM(tb.data())) != 0;
    if (m_pDockSite)
        m_pDockSite->DelayRecalcLayout();
    return ok;
}

UINT CToolBar::GetItemID(int nIndex) const
{
    return nIndex >= 0 && size_t(nIndex) < m_buttons.size() ? m_buttons[size_t(nIndex)].nID : 0;
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    if (nIndex < 0 || size_t(nIndex) >= m_buttons.size())
        return 0;
    const Button& b = m_buttons[size_t(nIndex)];
    return UINT(b.fsStyle) | (UINT(b.fsState) << 16);
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const
{
    if (nIndex < 0 || size_t(nIndex) >= m_buttons.size()) {
        nID = 0;
        nStyle = 0;
        iImage = -1;
        return;
    }
    const Button& b = m_buttons[size_t(nIndex)];
    nID = b.nID;
    nStyle = GetButtonStyle(nIndex);
    iImage = b.iImage;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage)
{
    // The state half of nStyle belongs to the update handlers and is not
    // taken from here.
    if (nIndex < 0 || size_t(nIndex) >= m_buttons.size())
        return;
    Button& b = m_buttons[size_t(nIndex)];
    BYTE fsStyle = BYTE(nStyle & 0xFF);
    if (b.nID == nID && b.fsStyle == fsStyle && b.iImage == iImage)
        return;
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_COMMAND | TBIF_STYLE | TBIF_IMAGE;
    info.idCommand = int(nID);
    info.fsStyle = fsStyle;
    info.iImage = iImage;
    if (SendMessage(TB_SETBUTTONINFOA, WPARAM(nIndex), LPARAM(&info))) {
        b.nID = nID;
        b.fsStyle = fsStyle;
        b.iImage = iImage;
    }
}

void CToolBar::SetButtonState(int nIndex, BYTE fsMask, BYTE fsState)
{
    if (nIndex < 0 || size_t(nIndex) >= m_buttons.size())
        return;
    Button& b = m_buttons[size_t(nIndex)];
    if ((b.fsState & fsMask) == (fsState & fsMask))
        return;
    b.fsState = BYTE((b.fsState & ~fsMask) | (fsState & fsMask));
    // Keep what the control tracks itself (pressed while the mouse is down).
    LRESULT cur = SendMessage(TB_GETSTATE, b.nID);
    BYTE actual = cur == -1 ? b.fsState : BYTE((BYTE(cur) & ~fsMask) | (fsState & fsMask));
    SendMessage(TB_SETSTATE, b.nID, MAKELPARAM(actual, 0));
}

int CToolBar::CalcHeight()
{
    // The buttons with the same margin below as above, plus the borders.
    RECT r = {0, 0, 0, 0};
    if (!m_buttons.empty() && SendMessage(TB_GETITEMRECT, 0, LPARAM(&r)))
        return r.bottom + r.top + BorderHeight();
    return m_sizeButton.cy + 4 + BorderHeight();
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler)
{
    CToolCmdUI state;
    state.m_pOther = this;
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i].fsStyle & TBSTYLE_SEP)
            continue;
        state.m_nIndex = UINT(i);
        state.m_nID = m_buttons[i].nID;
        state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
}

HWND CToolBar::GetToolTipWindow() const { return m_hWnd ? HWND(SendMessage(TB_GETTOOLTIPS)) : nullptr; }

void CToolBar::ShowFlyBy(UINT nID)
{
    if (nID == m_nFlyByID)
        return;
    m_nFlyByID = nID;
    if (m_pDockSite)
        m_pDockSite->SetMessageText(nID ? nID : UINT(AFX_IDS_IDLEMESSAGE));
}

LRESULT CToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Fly-by prompts: the button under the pointer puts its prompt into the
    // message pane; leaving the buttons brings the idle message back.
    if (message == WM_MOUSEMOVE && (m_dwStyle & CBRS_FLYBY)) {
        POINT pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
        LRESULT hit = SendMessage(TB_HITTEST, 0, LPARAM(&pt));
        UINT nID = hit >= 0 ? GetItemID(int(hit)) : 0;
        ShowFlyBy(nID);
        if (nID && !m_bTrackingLeave) {
            TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, m_hWnd, 0};
            m_bTrackingLeave = ::TrackMouseEvent(&tme);
        }
    } else if (message == WM_MOUSELEAVE) {
        m_bTrackingLeave = FALSE;
        ShowFlyBy(0);
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}
