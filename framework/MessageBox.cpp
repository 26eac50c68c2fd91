// Message boxes: captioned with the application title, owned by the main
// window, and painted in the dialog colours the application chose.
#include "FrameWnd.h"
#include "WinApp.h"

namespace {

HHOOK g_hCbtHook = nullptr;
WNDPROC g_pfnBoxProc = nullptr;
HWND g_hBox = nullptr;

// The colours for a dialog or one of its static controls, or null when the
// application set none.
LRESULT CALLBACK ColouredBoxProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CTLCOLORDLG || message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORMSGBOX) {
        if (HBRUSH hbr = AfxDialogColours(HDC(wParam)))
            return LRESULT(hbr);
    }
    WNDPROC pfn = g_pfnBoxProc;
    if (message == WM_NCDESTROY && hWnd == g_hBox) {
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, LONG_PTR(pfn));
        g_hBox = nullptr;
    }
    return ::CallWindowProcA(pfn, hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CbtProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND && !g_hBox) {
        auto* pCreate = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
        // The message box is the first dialog-class window created.
        if (pCreate->lpcs->lpszClass == MAKEINTRESOURCEA(32770) ||
            (HIWORD(reinterpret_cast<UINT_PTR>(pCreate->lpcs->lpszClass)) &&
             lstrcmpA(pCreate->lpcs->lpszClass, "#32770") == 0)) {
            g_hBox = HWND(wParam);
            g_pfnBoxProc = WNDPROC(::SetWindowLongPtrA(g_hBox, GWLP_WNDPROC, LONG_PTR(&ColouredBoxProc)));
        }
    }
    return ::CallNextHookEx(g_hCbtHook, nCode, wParam, lParam);
}

}   // namespace

HBRUSH AfxDialogColours(HDC hDC)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !pApp->m_hDlgBkBrush)
        return nullptr;
    ::SetTextColor(hDC, pApp->m_clrDlgText);
    ::SetBkColor(hDC, pApp->m_clrDlgBk);
    return pApp->m_hDlgBkBrush;
}

int CWinApp::DoMessageBox(const char* lpszPrompt, UINT nType, UINT)
{
    HWND hOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    if (hOwner)
        hOwner = ::GetLastActivePopup(hOwner);
    BOOL bHook = m_hDlgBkBrush && !g_hCbtHook;
    if (bHook)
        g_hCbtHook = ::SetWindowsHookExA(WH_CBT, &CbtProc, nullptr, ::GetCurrentThreadId());
    int result = ::MessageBoxA(hOwner, lpszPrompt, m_strAppName.c_str(), nType);
    if (bHook && g_hCbtHook) {
        ::UnhookWindowsHookEx(g_hCbtHook);
        g_hCbtHook = nullptr;
    }
    return result;
}

int AfxMessageBox(const char* lpszText, UINT nType, UINT nIDHelp)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp)
        return pApp->DoMessageBox(lpszText, nType, nIDHelp);
    return ::MessageBoxA(nullptr, lpszText, "", nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    // The text goes through a buffer of its own, not the heap: this box
    // also tells the user that memory has run out.
    char text[1024];
    if (::LoadStringA(AfxGetResourceHandle(), nIDPrompt, text, int(sizeof text)) <= 0)
        text[0] = '\0';
    return AfxMessageBox(text, nType, nIDHelp == UINT(-1) ? nIDPrompt : nIDHelp);
}
