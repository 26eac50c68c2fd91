// The application object: start-up, the message loop with idle
// processing, the document templates, message boxes and the framework's
// entry point.
#pragma once
#include "CmdTarget.h"
#include <array>
#include <string>
#include <vector>

class CWnd;
class CDocTemplate;

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    // With no name the title is string 57344, else the program's file name.
    explicit CWinApp(const char* lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance() { return TRUE; }
    // The framework's loop: messages, and idle passes while the queue is
    // empty; returns ExitInstance's result after WM_QUIT.
    virtual int Run();
    // One idle pass. Count 0 updates the main frame's bars and carries out
    // its deferred layout; count 1 frees temporary objects. TRUE while more
    // idle work is wanted.
    virtual BOOL OnIdle(LONG lCount);
    // Offers a message to the windows from its target up to the main
    // window (the frame applies its accelerators). TRUE when consumed.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Saves the standard settings; returns the exit code of the last quit.
    virtual int ExitInstance();
    virtual int DoMessageBox(const char* lpszPrompt, UINT nType, UINT nIDPrompt);

    // Dialog and message-box background and text colours.
    void SetDialogBkColor(COLORREF clrCtlBk = RGB(192, 192, 192), COLORREF clrCtlText = RGB(0, 0, 0));
    // The recent-file list of nMaxMRU entries, read from the profile; it is
    // written back only if something changed it.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();
    void AddDocTemplate(CDocTemplate* pTemplate);
    // Creates a new document through the first template.
    void OnFileNew();

    CWnd* GetMainWnd() const { return m_pMainWnd; }

    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;   // the start-up show state; -1 once used
    CWnd* m_pMainWnd = nullptr;
    std::string m_pszAppName;
    std::string m_pszProfileName;
    MSG m_msgCur = {};
    std::vector<CDocTemplate*> m_templateList;
    std::vector<std::string> m_recentFiles;
    BOOL m_bRecentFilesChanged = FALSE;

    HBRUSH m_hDlgBkBrush = nullptr;
    COLORREF m_clrDlgBk = RGB(192, 192, 192);
    COLORREF m_clrDlgText = RGB(0, 0, 0);

protected:
    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// Fills the application object's start-up fields (done by the entry point).
BOOL AfxWinInit(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);
// The framework's entry point, called by WinMain.
int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);

// Message boxes captioned with the application title, owned by the main
// window.
int AfxMessageBox(const char* lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = UINT(-1));

// Sets the application's dialog colours on hDC and returns the background
// brush, or null when the application chose none.
HBRUSH AfxDialogColours(HDC hDC);
