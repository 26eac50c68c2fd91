#include "app/VelmoraApp.h"
#include "app/AboutDlg.h"
#include "app/AboutMakerDlg.h"
#include "app/QuickHelpDlg.h"
#include "app/MainFrm.h"
#include "app/VelmoraDoc.h"
#include "app/ViewCalls.h"
#include "resources/resource.h"

int32_t g_bRunning = 1;

BEGIN_MESSAGE_MAP(CVelmoraApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_APP_ABOUT_MAKER, OnAboutMaker)
    ON_COMMAND(ID_HELP_QUICK_HELP, OnQuickHelp)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

// No name: the framework takes the title from string 57344.
CVelmoraApp::CVelmoraApp() : CWinApp(nullptr) {}

CVelmoraApp::~CVelmoraApp() { ::SetPriorityClass(::GetCurrentProcess(), NORMAL_PRIORITY_CLASS); }

BOOL CVelmoraApp::InitInstance()
{
    ::SetPriorityClass(::GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    SetDialogBkColor(RGB(192, 192, 192), RGB(0, 0, 0));
    LoadStdProfileSettings(4);
    AddDocTemplate(
        new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CVelmoraDoc), RUNTIME_CLASS(CMainFrame), ShellViewClass()));
    // Always open maximised, whatever show state the program was started
    // with; the frame's own size is its restored size.
    m_nCmdShow = SW_SHOWMAXIMIZED;
    OnFileNew();
    // Zero only when a fatal error was reported while the frame or the view
    // was being created.
    return g_bRunning;
}

// Each dialog runs modally for the length of the command; while it is open
// the main loop does not run, so the starfield stands still. The result of
// the run is not needed.
void CVelmoraApp::OnAppAbout()
{
    CAboutDlg dlg;
    dlg.DoModal();
}

void CVelmoraApp::OnAboutMaker()
{
    CAboutMakerDlg dlg;
    dlg.DoModal();
}

void CVelmoraApp::OnQuickHelp()
{
    CQuickHelpDlg dlg;
    dlg.DoModal();
}

// Posted, not sent: the close is handled when the loop next drains the
// queue, and destroying the frame then posts the quit.
void CVelmoraApp::OnAppExit()
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->PostMessage(WM_CLOSE, 0, 0);
}
