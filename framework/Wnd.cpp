#include "Wnd.h"
#include "ControlBar.h"
#include "FrameWnd.h"
#include "WinApp.h"
#include <unordered_map>
#include <vector>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

namespace {

std::unordered_map<HWND, CWnd*>& PermanentMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

struct TempMaps {
    std::unordered_map<HWND, CWnd*> wnds;
    std::vector<CDC*> dcs;
};

TempMaps& Temporaries()
{
    static TempMaps maps;
    return maps;
}

}   // namespace

AFX_WND_STATE& AfxGetWndState()
{
    static AFX_WND_STATE state;
    return state;
}

CWnd* afx_detail::WndFromHandle(HWND hWnd) { return CWnd::FromHandle(hWnd); }

CDC* afx_detail::DCFromHandle(HDC hDC)
{
    if (!hDC)
        return nullptr;
    CDC* pDC = new CDC;
    pDC->m_hDC = hDC;
    Temporaries().dcs.push_back(pDC);
    return pDC;
}

CWnd::~CWnd()
{
    if (m_hWnd && !m_bTemporary) {
        HWND h = m_hWnd;
        Detach();
        if (::IsWindow(h))
            ::DestroyWindow(h);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto& map = PermanentMap();
    auto it = map.find(hWnd);
    return it == map.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    if (CWnd* p = FromHandlePermanent(hWnd))
        return p;
    auto& temps = Temporaries().wnds;
    auto it = temps.find(hWnd);
    if (it != temps.end())
        return it->second;
    CWnd* p = new CWnd;
    p->m_hWnd = hWnd;
    p->m_bTemporary = TRUE;
    temps.emplace(hWnd, p);
    return p;
}

void CWnd::DeleteTempMap()
{
    TempMaps& t = Temporaries();
    for (auto& [h, p] : t.wnds) {
        p->m_hWnd = nullptr;
        delete p;
    }
    t.wnds.clear();
    for (CDC* pDC : t.dcs) {
        pDC->m_hDC = nullptr;   // the DC belongs to its owner
        delete pDC;
    }
    t.dcs.clear();
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd)
        return FALSE;
    m_hWnd = hWnd;
    PermanentMap()[hWnd] = this;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (h) {
        auto& map = PermanentMap();
        auto it = map.find(h);
        if (it != map.end() && it->second == this)
            map.erase(it);
        if (m_pfnSuper && ::IsWindow(h))
            ::SetWindowLongPtrA(h, GWLP_WNDPROC, LONG_PTR(m_pfnSuper));
    }
    m_pfnSuper = nullptr;
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    m_pfnSuper = WNDPROC(::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, LONG_PTR(&AfxWndProc)));
    return TRUE;
}

const char* CWnd::RegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    static std::unordered_map<std::string, std::string>* names = new std::unordered_map<std::string, std::string>;
    char key[96];
    wsprintfA(key, "Afx:%x:%p:%p:%p", nClassStyle, static_cast<void*>(hCursor), static_cast<void*>(hbrBackground),
              static_cast<void*>(hIcon));
    auto it = names->find(key);
    if (it != names->end())
        return it->second.c_str();
    WNDCLASSA wc = {};
    wc.style = nClassStyle;
    wc.lpfnWndProc = &AfxWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = key;
    if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return nullptr;
    return names->emplace(key, key).first->second.c_str();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = RegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW), HBRUSH(COLOR_WINDOW + 1));
    return cs.lpszClass != nullptr;
}

BOOL CWnd::Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(UINT_PTR(nID)), pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    CREATESTRUCTA cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = LONG(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    AFX_WND_STATE& st = AfxGetWndState();
    CWnd* pOldInit = st.pWndInit;
    st.pWndInit = this;
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, DWORD(cs.style), cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    BOOL bNeverAttached = st.pWndInit == this;
    st.pWndInit = pOldInit;
    if (hWnd)
        return TRUE;
    if (bNeverAttached) {
        // The window got no message at all: finish as its destruction would.
        CWinApp* pApp = AfxGetApp();
        if (pApp && pApp->m_pMainWnd == this) {
            pApp->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        PostNcDestroy();
    }
    return FALSE;
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& m = AfxGetWndState().lastSent;
    return DefWindowProc(m.message, m.wParam, m.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY)
        return OnNotify(wParam, lParam, pResult);
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(GetMessageMap(), message);
    if (!e)
        return FALSE;
    *pResult = e->pfn(this, wParam, lParam);
    return TRUE;
}

namespace {

// The probe object of the disabled-command rule: records what the command's
// update handler decides.
class CEnableProbeCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetText(const char*) override {}
    BOOL m_bEnabled = TRUE;
};

}   // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    // Menus (code 0), accelerators (code 1) and toolbar buttons are
    // commands; other controls send notifications that carry their code.
    BOOL bCommand = hWndCtrl == nullptr;
    if (!bCommand && nCode == BN_CLICKED) {
        CWnd* pCtrl = FromHandlePermanent(hWndCtrl);
        bCommand = pCtrl && pCtrl->IsKindOf(RUNTIME_CLASS(CControlBar));
    }
    if (bCommand) {
        if (nID == 0)
            return FALSE;
        // A command whose update handler disables it is not carried out.
        CEnableProbeCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) { return FALSE; }

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    AFX_WND_STATE& st = AfxGetWndState();
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd && st.pWndInit) {
        pWnd = st.pWndInit;
        st.pWndInit = nullptr;
        pWnd->Attach(hWnd);
    }
    if (!pWnd)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    MSG old = st.lastSent;
    st.lastSent.hwnd = hWnd;
    st.lastSent.message = message;
    st.lastSent.wParam = wParam;
    st.lastSent.lParam = lParam;
    LRESULT lResult = pWnd->WindowProc(message, wParam, lParam);
    st.lastSent = old;
    if (message == WM_NCDESTROY) {
        CWinApp* pApp = AfxGetApp();
        if (pApp && pApp->m_pMainWnd == pWnd) {
            pApp->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        pWnd->Detach();
        pWnd->PostNcDestroy();
    }
    return lResult;
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) { Attach(::BeginPaint(m_hWnd, &m_ps)); }

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}
