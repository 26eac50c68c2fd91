// The application object: start-up, idle processing, message
// pre-translation, the document templates, message boxes and the
// framework's entry point.
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
    // The message loop, which the application supplies: the framework's
    // entry point runs it after a successful InitInstance and returns its
    // result. It calls OnIdle and PreTranslateMessage as it sees fit and
    // returns ExitInstance's result after WM_QUIT.
    virtual int Run() = 0;
    // One idle pass. Count 0 updates the main frame's bars and carries out
    // its deferred layout; count 1 frees temporary objects. TRUE while more
    // idle work is wanted.
    virtual BOOL OnIdle(LONG lCount);
    // Offers a message to the windows from its target up to the main
    // window (the frame applies its accelerators). TRUE when consumed.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Returns the exit code of the last quit.
    virtual int ExitInstance();
    virtual int DoMessageBox(const char* lpszPrompt, UINT nType, UINT nIDPrompt);

    // Dialog and message-box background and text colours.
    void SetDialogBkColor(COLORREF clrCtlBk = RGB(192, 192, 192), COLORREF clrCtlText = RGB(0, 0, 0));
    // The recent-file list of nMaxMRU entries, read from the profile. The
    // program opens no files, so nothing changes it and it is never
    // written back.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void AddDocTemplate(CDocTemplate* pTemplate);
    // Creates a new document through the first template.
    void OnFileNew();

    int m_nCmdShow = SW_SHOWNORMAL;   // the start-up show state; -1 once used
    CWnd* m_pMainWnd = nullptr;
    LPSTR m_lpCmdLine = nullptr;   // the arguments after the program's name
    std::string m_strAppName;
    std::string m_strProfileName;
    MSG m_msgCur = {};
    std::vector<CDocTemplate*> m_templateList;
    std::vector<std::string> m_recentFiles;

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
