#include "view_test_support.h"
#include "audio/FpsMeter.h"
#include "audio/TunePlayer.h"
#include "starfield/StarEngine.h"
#include "surface/SurfaceTesting.h"
#include <commctrl.h>
#include <cstdlib>
#include <cstring>

CVelmoraApp theApp;

std::vector<SeenCall> g_hintBoxes;
std::vector<SeenCall> g_soundCalls;

namespace {

const char kIni[] = "QUARVELL.INI";
uint32_t (*const g_pfnSystemFpsClock)() = g_pfnFpsClock;

int RecordHintBox(const char* pszText, UINT nType)
{
    g_hintBoxes.push_back({pszText, nType});
    return IDOK;
}

BOOL RecordSound(LPCSTR pszSound, UINT fuSound)
{
    g_soundCalls.push_back({pszSound ? "image" : "", fuSound});
    return TRUE;
}

}   // namespace

bool WinGLibraryPresent()
{
    const char* library = std::getenv("VELMORA_WING_LIBRARY");
    return !library || std::strcmp(library, "none") != 0;
}

void SetSetting(const char* pszSection, const char* pszKey, const char* pszValue)
{
    ASSERT_TRUE(::WritePrivateProfileStringA(pszSection, pszKey, pszValue, kIni));
}

std::string GetSetting(const char* pszSection, const char* pszKey)
{
    char text[128] = "";
    ::GetPrivateProfileStringA(pszSection, pszKey, "", text, sizeof text, kIni);
    return text;
}

void RemoveSettingsFile()
{
    // Flush the profile cache first, so the deleted file is not written back.
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, kIni);
    char path[MAX_PATH] = "";
    ::GetWindowsDirectoryA(path, MAX_PATH);
    lstrcatA(path, "\\QUARVELL.INI");
    ::DeleteFileA(path);
}

void DrainMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        if (!theApp.PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

RecordingCmdUI QueryUpdate(CVelmoraView* pView, UINT nID)
{
    RecordingCmdUI ui(nID);
    pView->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    return ui;
}

void ViewFixture::SetUpTestSuite() { AfxWinInit(::GetModuleHandleA(nullptr), const_cast<LPSTR>(""), SW_SHOWNORMAL); }

void ViewFixture::SetUp()
{
    RemoveSettingsFile();
    g_bRunning = 1;
    g_hintBoxes.clear();
    g_soundCalls.clear();
    g_pfnViewMessageBox = &RecordHintBox;
    g_pfnSoundService = &RecordSound;
}

void ViewFixture::TearDown()
{
    Stop();
    g_pfnFpsClock = g_pfnSystemFpsClock;
    SetMillisecondClock(nullptr);
    g_bRunning = 1;
    RemoveSettingsFile();
}

bool ViewFixture::Start()
{
    // The surface is decided once per process; every case starts afresh.
    ResetDisplaySurfaceForTesting();
    if (!theApp.InitInstance())
        return false;
    m_pFrame = GetMainFrame();
    if (!m_pFrame)
        return false;
    m_pView = static_cast<CVelmoraView*>(m_pFrame->GetActiveView());
    DrainMessages();
    return m_pView != nullptr;
}

void ViewFixture::Stop()
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->DestroyWindow();
    DrainMessages();
    m_pFrame = nullptr;
    m_pView = nullptr;
}

int ViewFixture::ButtonImage(int nPos) const
{
    TBBUTTON button = {};
    ::SendMessageA(m_pFrame->m_wndToolBar.m_hWnd, TB_GETBUTTON, WPARAM(nPos), LPARAM(&button));
    return button.iBitmap;
}

void ViewFixture::UpdateBars() { theApp.OnIdle(0); }

std::string ViewFixture::FpsPaneText() const
{
    char text[64] = "";
    ::SendMessageA(m_pFrame->m_wndStatusBar.m_hWnd, SB_GETTEXTA, 1, LPARAM(text));
    return text;
}

RECT ViewFixture::ViewRectInFrame() const
{
    RECT r;
    m_pView->GetWindowRect(&r);
    ::MapWindowPoints(nullptr, m_pFrame->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    return r;
}
