// The shell tests' own view (standing in for the starfield view), an
// application that records its idle passes, and a watcher that reads and
// dismisses the message boxes and dialogs the shell shows.
#pragma once
#include "app/MainFrm.h"
#include "app/VelmoraApp.h"
#include <atomic>
#include <string>
#include <thread>
#include <vector>

extern std::vector<std::string> g_events;   // "idle0", "idle1", "frame", "pause", ...
extern int g_nThrow;                        // the Normal command throws: 1 memory, 2 resource
extern int g_nFramesBeforeQuit;             // the frame step posts a quit after this many
extern int32_t g_nFrameRate;                // what the view answers for its frame rate
extern void (*g_pfnAfterFrame)();           // called after each frame step when set
extern BOOL g_bFailView;                    // the view's creation fails (with a fatal report if g_bFatalView)
extern BOOL g_bFatalView;
// Calls of the sound service (installed by InstallSoundRecorder) that
// silence the sound: no sound, SND_ASYNC | SND_NODEFAULT. Counted without
// allocating, from any thread.
extern std::atomic<int> g_nSoundStops;
void InstallSoundRecorder();

struct ViewCreationSeen {
    CWnd* pMainWnd = nullptr;
    BOOL bToolBarExisted = FALSE;
    int nToolBarHeight = -1;
    int nStatusBarHeight = -1;
};
extern ViewCreationSeen g_viewSeen;

class CShellTestApp : public CVelmoraApp {
public:
    BOOL OnIdle(LONG lCount) override
    {
        g_events.push_back(lCount == 0 ? "idle0" : "idle1");
        return CVelmoraApp::OnIdle(lCount);
    }
};
extern CShellTestApp theShellApp;

// What a watched window showed.
struct SeenBox {
    std::string caption;
    std::string text;        // the longest static text
    HICON hIcon = nullptr;   // the icon its icon control shows
    int nSoundStops = -1;    // g_nSoundStops when the box was found
};

// Watches this thread's windows from another thread; the first dialog-class
// window that appears is read and closed with IDOK.
class BoxWatcher {
public:
    BoxWatcher();
    ~BoxWatcher();
    SeenBox Wait();   // waits for the watcher to finish (at most ~10 s)

private:
    void Watch();
    DWORD m_tid;
    SeenBox m_seen;
    std::thread m_thread;
};
