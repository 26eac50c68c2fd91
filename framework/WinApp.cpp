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

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWnd* AfxGetMainWnd()
{
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

CWinApp::CWinApp(const char* lpszAppName)
{
    if (lpszAppName)
        m_pszAppName = lpszAppName;
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
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(hInstance, path, MAX_PATH);
    std::string base = path;
    base = base.substr(base.find_last_of("\\/") + 1);
    base = base.substr(0, base.rfind('.'));
    if (pApp->m_pszAppName.empty()) {
        pApp->m_pszAppName = AfxLoadString(AFX_IDS_APP_TITLE);
        if (pApp->m_pszAppName.empty())
            pApp->m_pszAppName = base;
    }
    if (pApp->m_pszProfileName.empty())
        pApp->m_pszProfileName = base + ".INI";
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

int CWinApp::Run()
{
    LONG lIdleCount = 0;
    BOOL bIdle = TRUE;
    for (;;) {
        while (bIdle && !::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE))
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        do {
            if (!::GetMessageA(&m_msgCur, nullptr, 0, 0))
                return ExitInstance();
            if (!PreTranslateMessage(&m_msgCur)) {
                ::TranslateMessage(&m_msgCur);
                ::DispatchMessageA(&m_msgCur);
            }
            if (m_msgCur.message != WM_PAINT && m_msgCur.message != WM_TIMER && m_msgCur.message != 0x0118) {
                bIdle = TRUE;   // 0x0118: the caret's blink timer
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
    }
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
        ::GetPrivateProfileStringA("Recent File List", key, "", value, MAX_PATH, m_pszProfileName.c_str());
        m_recentFiles[i] = value;
    }
    m_bRecentFilesChanged = FALSE;
}

void CWinApp::SaveStdProfileSettings()
{
    if (!m_bRecentFilesChanged)
        return;
    const char* profile = m_pszProfileName.c_str();
    ::WritePrivateProfileStringA("Recent File List", nullptr, nullptr, profile);
    for (size_t i = 0; i < m_recentFiles.size(); ++i) {
        if (m_recentFiles[i].empty())
            continue;
        char key[16];
        wsprintfA(key, "File%u", unsigned(i + 1));
        ::WritePrivateProfileStringA("Recent File List", key, m_recentFiles[i].c_str(), profile);
    }
    m_bRecentFilesChanged = FALSE;
}

int CWinApp::ExitInstance()
{
    SaveStdProfileSettings();
    return m_msgCur.message == WM_QUIT ? int(m_msgCur.wParam) : 0;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    m_templateList.push_back(pTemplate);
}

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
