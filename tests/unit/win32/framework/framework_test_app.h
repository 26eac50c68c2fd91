// The application, document, frame and view that the framework tests
// drive, and helpers that pump messages and run idle passes.
#pragma once
#include "framework/Framework.h"
#include "framework_test_ids.h"
#include <string>
#include <vector>

// What the handlers did, in order ("view", "doc", "frame", "app", ...).
extern std::vector<std::string> g_log;
// Whether the update handler of ID_TEST_DISABLED disables it.
extern BOOL g_bDisableCommand;
// The check state ID_TEST_CHECKED's update handler sets.
extern int g_nCheck;
// The text ID_TEST_PANE's update handler sets.
extern std::string g_strPane;
// Makes the next frame's creation fail.
extern BOOL g_bFailFrameCreate;
extern int g_nDocsDestroyed, g_nFramesDestroyed, g_nViewsDestroyed;

class CTestDoc : public CDocument {
    DECLARE_DYNCREATE(CTestDoc)
public:
    ~CTestDoc() override { ++g_nDocsDestroyed; }
    void OnDocView() { g_log.push_back("doc"); }
    void OnDocDoc() { g_log.push_back("doc"); }
    DECLARE_MESSAGE_MAP()
};

class CTestView : public CView {
    DECLARE_DYNCREATE(CTestView)
public:
    ~CTestView() override { ++g_nViewsDestroyed; }
    void OnDraw(CDC*) override { ++m_nDraws; }
    void OnView() { g_log.push_back("view"); }
    void OnDisabled() { g_log.push_back("disabled"); }
    void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(!g_bDisableCommand); }
    void OnUpdateChecked(CCmdUI* pCmdUI)
    {
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(g_nCheck);
    }
    void OnPane() {}
    void OnUpdatePane(CCmdUI* pCmdUI) { pCmdUI->SetText(g_strPane.c_str()); }
    int m_nDraws = 0;
    DECLARE_MESSAGE_MAP()
};

class CTestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CTestFrame)
public:
    // Becomes the main window before its window exists.
    CTestFrame() { AfxGetApp()->m_pMainWnd = this; }
    ~CTestFrame() override { ++g_nFramesDestroyed; }
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnFrameView() { g_log.push_back("frame"); }
    void OnFrameDoc() { g_log.push_back("frame"); }
    void OnFrameFrame() { g_log.push_back("frame"); }
    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;
    DECLARE_MESSAGE_MAP()
};

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp(nullptr) {}
    // The tests pump the queue themselves (PumpMessages, IdlePasses); the
    // framework's entry point never runs this loop.
    int Run() override { return ExitInstance(); }
    void OnAppCommand() { g_log.push_back("app"); }
    DECLARE_MESSAGE_MAP()
};

extern CTestApp theTestApp;

// Starts the framework for this process once (instance, title, controls).
void StartFramework();
// Creates document, frame and view through a single-document template.
CTestFrame* OpenTestFrame();
// Destroys the main frame if there is one and drains the queue.
void CloseTestFrame();
// Dispatches everything queued (through the application's accelerators);
// returns TRUE if a quit message was among them.
BOOL PumpMessages();
// One pass of the main loop's idle work.
void IdlePasses(int nPasses);
// The toolbar positions of the test frame's buttons.
enum { kBtnView = 0, kBtnDisabled = 2, kBtnChecked = 3, kBtnOrphan = 4 };
