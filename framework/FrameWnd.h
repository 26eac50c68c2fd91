// A top-level frame: menu, accelerators and icon from one resource id,
// control bars laid out above and below the view, command routing through
// the active view, and the update pass of its bars during idle time.
#pragma once
#include "Wnd.h"
#include <string>
#include <vector>

class CControlBar;
class CView;

// Adds the document's name to the caption (a frame style in the low word).
#define FWS_ADDTOTITLE 0x00008000L

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd() = default;
    ~CFrameWnd() override;

    // Creates the window from resource nIDResource: its menu, accelerator
    // table, icon and the first field of its string as the title.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew);
    CDocument* GetActiveDocument();
    virtual void ActivateFrame(int nCmdShow = -1);
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    void UpdateFrameTitle();

    // Places the top bars, the bottom bars and, in between, the view.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    void DelayRecalcLayout() { m_nIdleFlags |= idleLayout; }
    // The idle pass: deferred layout, then the update handlers of the bars.
    virtual void OnIdleUpdateCmdUI();

    // Pane 0 of the status bar: a command's prompt or any text.
    void SetMessageText(UINT nID);
    void SetMessageText(const char* lpszText);
    CWnd* GetMessageBar();

    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);

    HACCEL m_hAccelTable = nullptr;
    BOOL m_bAutoMenuEnable = TRUE;   // menu items without a handler are greyed
    std::string m_strTitle;

    // Message handlers (also called by derived frames).
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnSize(UINT nType, int cx, int cy);
    void OnClose();
    void OnSetFocus(CWnd* pOldWnd);
    void OnInitMenuPopup(HMENU hMenu, UINT nIndex, BOOL bSysMenu);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);

protected:
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    CWnd* CreateView(CCreateContext* pContext, UINT nID);
    void PostNcDestroy() override { delete this; }
    LRESULT OnExitMenuLoop(WPARAM, LPARAM);

    enum { idleLayout = 1 };
    UINT m_nIdleFlags = 0;
    CView* m_pViewActive = nullptr;
    UINT m_nIDResource = 0;
    std::vector<CControlBar*> m_listControlBars;
    DECLARE_MESSAGE_MAP()
};

// Loads a string resource ("" when it is missing).
std::string AfxLoadString(UINT nID);
