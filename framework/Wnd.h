// A window: wraps an HWND, keeps the map from handles to objects, and
// dispatches the window's messages through the message-map chain.
#pragma once
#include "CmdTarget.h"
#include "Gdi.h"
#include "Globals.h"

class CFrameWnd;
class CDocument;
class CView;
class CDocTemplate;

// What a frame needs to create its view and attach it to a document.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
};

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Handle map: the permanent object of a handle, or a temporary wrapper
    // that lives until the next idle pass with count 1.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWnd);   // makes this the permanent object of hWnd
    HWND Detach();
    // Attaches to an existing window and routes its messages through this
    // object first (the window's own procedure does the default processing).
    BOOL SubclassWindow(HWND hWnd);

    // Creation. The creation parameters pass through PreCreateWindow.
    virtual BOOL Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    BOOL CreateEx(DWORD dwExStyle, const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle, int x, int y,
                  int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    virtual BOOL DestroyWindow();

    // Message handling.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual void PostNcDestroy() {}
    LRESULT Default();   // the default processing of the message being handled

    // Plain wrappers.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    void GetClientRect(RECT* lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void GetWindowRect(RECT* lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    void SetWindowText(const char* lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
    int GetWindowText(char* lpszBuffer, int nMax) const { return ::GetWindowTextA(m_hWnd, lpszBuffer, nMax); }
    DWORD GetStyle() const { return DWORD(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void SetDlgItemText(int nID, const char* lpszString) { ::SetDlgItemTextA(m_hWnd, nID, lpszString); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }

    // The default processing of a size change (for derived windows that
    // handle WM_SIZE and pass it on).
    void OnSize(UINT, int, int) { Default(); }

    // Registers (once) a window class of the framework's kind and returns
    // its name.
    static const char* RegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                                        HICON hIcon = nullptr);
    // Frees the temporary wrappers handed out since the last call.
    static void DeleteTempMap();

    DECLARE_MESSAGE_MAP()
protected:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
    BOOL m_bTemporary = FALSE;
    WNDPROC m_pfnSuper = nullptr;   // the subclassed window's own procedure
};

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// The window procedure's current message (for Default) and the hook that
// attaches a window under creation to its object.
struct AFX_WND_STATE {
    MSG lastSent = {};
    CWnd* pWndInit = nullptr;
};
AFX_WND_STATE& AfxGetWndState();

// The device context for painting a window, between BeginPaint and EndPaint.
class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps;
    HWND m_hWnd;
};
