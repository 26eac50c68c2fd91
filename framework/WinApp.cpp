#include "WinApp.h"
#include "DocTemplate.h"
#include "FrameWnd.h"
#include <commctrl.h>

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp* AfxGetApp() { return g_pApp; }

CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }

CWinApp::CWinApp(const char* lpszAppName)
{
    if (lpszAppName)
        m_strAppName = lpszAppName;
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    for (CDocTemplate* p : m_templateList)
        delete p;
    if (m_hDlgBkBrush)
        ::DeleteObject(m_hDlgBkBrush);
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL AfxWinInit(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return FALSE;
    pApp->m_nCmdShow = nCmdShow;
    pApp->m_lpCmdLine = lpCmdLine;
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(hInstance, path, MAX_PATH);
    std::string base = path;
    base = base.substr(base.find_last_of("\\/") + 1);
    base = base.substr(0, base.rfind('.'));
    if (pApp->m_strAppName.empty()) {
        pApp->m_strAppName = AfxLoadString(AFX_IDS_APP_TITLE);
        if (pApp->m_strAppName.empty())
            pApp->m_strAppName = base;
    }
    if (pApp->m_strProfileName.empty())
        pApp->m_strProfileName = base + ".INI";
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
    if (!::InitCommonControlsEx(&icc))
        ::InitCommonControls();
    return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !AfxWinInit(hInstance, lpCmdLine, nCmdShow))
        return -1;
    if (!pApp->InitInstance()) {
        if (pApp->m_pMainWnd)
            pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}

// The program's entry point lives here, beside the application object's
// constructor, so that linking any application object brings it along.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, lpCmdLine, nCmdShow);
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        CWnd* pMain = m_pMainWnd;
        if (pMain && pMain->m_hWnd && pMain->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            static_cast<CFrameWnd*>(pMain)->OnIdleUpdateCmdUI();
        return TRUE;
    }
    CWnd::DeleteTempMap();
    return FALSE;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    HWND hStop = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        if (CWnd* pWnd = CWnd::FromHandlePermanent(h))
            if (pWnd->PreTranslateMessage(pMsg))
                return TRUE;
        if (h == hStop)
            return FALSE;
    }
    // A message for a window outside the main frame (or for no window)
    // still gets the main frame's accelerators.
    return hStop && m_pMainWnd->PreTranslateMessage(pMsg);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    m_recentFiles.assign(nMaxMRU, std::string());
    for (UINT i = 0; i < nMaxMRU; ++i) {
        char key[16], value[MAX_PATH] = "";
        wsprintfA(key, "File%u", i + 1);
        ::GetPrivateProfileStringA("Recent File List", key, "", value, MAX_PATH, m_strProfileName.c_str());
        m_recentFiles[i] = value;
    }
}

int CWinApp::ExitInstance() { return m_msgCur.message == WM_QUIT ? int(m_msgCur.wParam) : 0; }

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) { m_templateList.push_back(pTemplate); }

void CWinApp::OnFileNew()
{
    if (!m_templateList.empty())
        m_templateList.front()->OpenDocumentFile(nullptr);
}

void CWinApp::SetDialogBkColor(COLORREF clrCtlBk, COLORREF clrCtlText)
{
    if (m_hDlgBkBrush)
        ::DeleteObject(m_hDlgBkBrush);
    m_hDlgBkBrush = ::CreateSolidBrush(clrCtlBk);
    m_clrDlgBk = clrCtlBk;
    m_clrDlgText = clrCtlText;
}
