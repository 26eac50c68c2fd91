// The main loop: drain the queue, run the two idle passes, then step a frame
// or wait. Unpaced (the default), a frame follows every drained queue and the
// loop never waits; with a frame rate set, frames come on the pacer's grid and
// the loop waits for a message or the due time in between. While the frame is
// minimised nothing can be seen, so the loop waits for messages only, with
// the system timer at its normal resolution.
#include "app/VelmoraApp.h"
#include "app/ViewCalls.h"
#include "starfield/FramePacer.h"
#include "starfield/FrameWait.h"
#include <mmsystem.h>

namespace {

CView* ActiveView(CWnd* pMain)
{
    if (pMain && pMain->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
        return static_cast<CFrameWnd*>(pMain)->GetActiveView();
    return nullptr;
}

}   // namespace

int CVelmoraApp::Run()
{
    // The view read the rate from its settings when start-up made it.
    CFramePacer pacer;
    if (CView* pView = ActiveView(AfxGetMainWnd()))
        pacer.SetRate(ShellFrameRate(pView));
    // Timed waits end close to the due time while paced; the finer timer is
    // released while the loop waits for messages only (minimised).
    CTimerResolution resolution;

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
        if (CView* pView = ActiveView(pMain)) {
            const LoopDecision d = pacer.Decide(uint32_t(::timeGetTime()), !::IsIconic(pMain->m_hWnd));
            resolution.Hold(pacer.GetRate() != 0 && d.nAction != LOOP_WAIT_MESSAGES);
            if (d.nAction == LOOP_STEP_FRAME)
                ShellNextFrame(pView);
            else
                WaitForMessagesOrTimeout(d.nWaitMs);
        }
    }
}
