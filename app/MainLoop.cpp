// The main loop: drain the queue, run the two idle passes, draw one frame.
#include "app/VelmoraApp.h"
#include "app/ViewCalls.h"

int CVelmoraApp::Run()
{
    for (;;) {
        while (::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_REMOVE)) {
            if (m_msgCur.message == WM_QUIT) {
                // Leave a quit for any loop further out; messages behind
                // this one are not dispatched.
                ::PostQuitMessage(int(m_msgCur.wParam));
                return ExitInstance();
            }
            if (!PreTranslateMessage(&m_msgCur)) {
                ::TranslateMessage(&m_msgCur);
                ::DispatchMessageA(&m_msgCur);
            }
        }
        OnIdle(0);
        OnIdle(1);
        CWnd* pMain = AfxGetMainWnd();
        if (pMain && pMain->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            if (CView* pView = static_cast<CFrameWnd*>(pMain)->GetActiveView())
                ShellNextFrame(pView);
    }
}
