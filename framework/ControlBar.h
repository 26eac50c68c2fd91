// The common part of the toolbar and the status bar: a comctl32 control
// subclassed by the framework, registered with its frame for layout and
// for the idle-time update pass.
#pragma once
#include "Wnd.h"

class CFrameWnd;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    ~CControlBar() override;

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle & CBRS_ALL; }
    // Height of the bar when laid out in its frame.
    virtual int CalcHeight() = 0;
    // Runs the update handlers of the bar's elements against pTarget.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) = 0;
    virtual HWND GetToolTipWindow() const { return nullptr; }

    // The border styles (CBRS_BORDER_TOP, CBRS_BORDER_BOTTOM) put an etched
    // line, shadow above highlight, along that edge of the bar, outside the
    // control's client area.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    DWORD m_dwStyle = 0;                // CBRS_ bar styles
    CFrameWnd* m_pDockSite = nullptr;   // the frame that lays the bar out

protected:
    CControlBar() = default;
    // Creates the control of class lpszClass; the low word of dwStyle
    // holds the bar styles, the high word the window styles.
    BOOL CreateBar(const char* lpszClass, CWnd* pParentWnd, DWORD dwStyle, DWORD dwCtrlStyle, UINT nID);
    void PostNcDestroy() override;
    // The height the border lines add to the control's own.
    int BorderHeight() const;

private:
    void DrawBorders();
};
