#include "shell_test_support.h"
#include "app/ViewCalls.h"
#include "audio/TunePlayer.h"
#include "resources/resource.h"
#include <mmsystem.h>

std::vector<std::string> g_events;
int g_nThrow = 0;
int g_nFramesBeforeQuit = 3;
int32_t g_nFrameRate = 0;
void (*g_pfnAfterFrame)() = nullptr;
BOOL g_bFailView = FALSE;
BOOL g_bFatalView = FALSE;
ViewCreationSeen g_viewSeen;
std::atomic<int> g_nSoundStops{0};
CShellTestApp theShellApp;

namespace {

class CShellTestView : public CView {
    DECLARE_DYNCREATE(CShellTestView)
public:
    void OnDraw(CDC*) override {}
    int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (CView::OnCreate(lpcs) == -1)
            return -1;
        CMainFrame* pMain = GetMainFrame();
        g_viewSeen.pMainWnd = pMain;
        if (pMain) {
            g_viewSeen.bToolBarExisted = ::IsWindow(pMain->m_wndToolBar.m_hWnd);
            g_viewSeen.nToolBarHeight = pMain->GetToolBarHeight();
            g_viewSeen.nStatusBarHeight = pMain->GetStatusBarHeight();
        }
        if (g_bFailView) {
            if (g_bFatalView) {
                g_bRunning = 0;
                CMemoryException e;
                theShellApp.ReportFatalError(&e);
            }
            return -1;
        }
        return 0;
    }
    void OnNoSound() { g_events.push_back("nosound"); }
    void OnNormal()
    {
        g_events.push_back("normal");
        if (g_nThrow == 1)
            AfxThrowMemoryException();
        if (g_nThrow == 2)
            AfxThrowResourceException();
    }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CShellTestView, CView)

BEGIN_MESSAGE_MAP(CShellTestView, CView)
    ON_WM_CREATE()
    ON_COMMAND(ID_AUDIO_NO_SOUND, OnNoSound)
    ON_COMMAND(ID_DISPLAY_NORMAL, OnNormal)
END_MESSAGE_MAP()

BOOL CALLBACK FindDialog(HWND h, LPARAM l)
{
    char cls[32] = "";
    ::GetClassNameA(h, cls, 32);
    if (lstrcmpA(cls, "#32770") == 0 && ::IsWindowVisible(h)) {
        *reinterpret_cast<HWND*>(l) = h;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK ReadChild(HWND h, LPARAM l)
{
    auto* seen = reinterpret_cast<SeenBox*>(l);
    char cls[32] = "", text[512] = "";
    ::GetClassNameA(h, cls, 32);
    if (lstrcmpiA(cls, "Static") != 0)
        return TRUE;
    if ((::GetWindowLongA(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        seen->hIcon = HICON(::SendMessageA(h, STM_GETICON, 0, 0));
        return TRUE;
    }
    ::GetWindowTextA(h, text, 512);
    if (lstrlenA(text) > int(seen->text.size()))
        seen->text = text;
    return TRUE;
}

BOOL RecordSound(LPCSTR pszSound, UINT fuSound)
{
    if (!pszSound && fuSound == (SND_ASYNC | SND_NODEFAULT))
        ++g_nSoundStops;
    return TRUE;
}

}   // namespace

void InstallSoundRecorder() { g_pfnSoundService = RecordSound; }

const CRuntimeClass* ShellViewClass() { return RUNTIME_CLASS(CShellTestView); }

void ShellNextFrame(CView*)
{
    g_events.push_back("frame");
    if (g_pfnAfterFrame)
        g_pfnAfterFrame();
    if (--g_nFramesBeforeQuit == 0)
        ::PostQuitMessage(5);
}

int32_t ShellFrameRate(CView*) { return g_nFrameRate; }

void ShellPauseTune(CView*) { g_events.push_back("pause"); }

void ShellResumeTune(CView*) { g_events.push_back("resume"); }

BoxWatcher::BoxWatcher() : m_tid(::GetCurrentThreadId()), m_thread([this] { Watch(); }) {}

BoxWatcher::~BoxWatcher()
{
    if (m_thread.joinable())
        m_thread.join();
}

SeenBox BoxWatcher::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
    return m_seen;
}

void BoxWatcher::Watch()
{
    for (int i = 0; i < 500; ++i) {
        HWND hBox = nullptr;
        ::EnumThreadWindows(m_tid, &FindDialog, LPARAM(&hBox));
        if (hBox) {
            m_seen.nSoundStops = g_nSoundStops;
            ::Sleep(50);   // let the box finish drawing its controls
            char caption[256] = "";
            ::GetWindowTextA(hBox, caption, 256);
            m_seen.caption = caption;
            ::EnumChildWindows(hBox, &ReadChild, LPARAM(&m_seen));
            ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
            return;
        }
        ::Sleep(20);
    }
}
