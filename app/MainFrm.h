// The program's only top-level window: menu, accelerators, toolbar and
// status bar; it guards every command against exceptions.
#pragma once
#include "framework/Framework.h"

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    // Makes itself the application's main window before any window exists.
    CMainFrame();
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // The framework's routing inside an exception guard: an exception ends
    // the program in order.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Bar height plus one, or 0 while the bar is not visible.
    int GetToolBarHeight();
    int GetStatusBarHeight();

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;

    int OnCreate(LPCREATESTRUCT lpcs);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);

    DECLARE_MESSAGE_MAP()
};

// The application's main window when it is the program's frame, else null.
CMainFrame* GetMainFrame();
