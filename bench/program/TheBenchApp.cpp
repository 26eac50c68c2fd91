// The application object of the program's benchmark build: the product's
// application with each turn of its main loop timed piece by piece (see
// WorkTimes.h), so that the benchmark can say what the work the program
// does beside the frame step and the paint costs under Wine. The idle
// pass that updates the bars is taken apart here into the toolbar's pass
// and the status bar's, in the frame's own order; a turn with a deferred
// layout runs the frame's whole pass instead. Never part of the product.
#include "WorkTimes.h"
#include "app/MainFrm.h"
#include "app/VelmoraApp.h"
#include "audio/FpsMeter.h"

namespace {

// The frame keeps its deferred-layout flag to itself; a class derived from
// it may name the member.
struct FrameIdleFlags : CFrameWnd {
    static bool LayoutPending(CFrameWnd* pFrame)
    {
        return (pFrame->*(&FrameIdleFlags::m_nIdleFlags) & FrameIdleFlags::idleLayout) != 0;
    }
};

bool Shown(CControlBar& bar) { return bar.m_hWnd && (bar.GetStyle() & WS_VISIBLE); }

class CVelmoraBenchApp : public CVelmoraApp {
public:
    BOOL OnIdle(LONG lCount) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

private:
    WorkTimes m_times;
};

BOOL CVelmoraBenchApp::PreTranslateMessage(MSG* pMsg)
{
    m_times.Mark(WORK_PRETRANSLATE);
    const BOOL consumed = CVelmoraApp::PreTranslateMessage(pMsg);
    m_times.Mark(WORK_DISPATCH);
    return consumed;
}

BOOL CVelmoraBenchApp::OnIdle(LONG lCount)
{
    if (lCount > 0) {
        m_times.Mark(WORK_TEMPMAP);
        const BOOL more = CVelmoraApp::OnIdle(lCount);
        m_times.Mark(WORK_STEP);
        return more;
    }
    CMainFrame* pFrame = GetMainFrame();
    if (pFrame == nullptr || pFrame->m_hWnd == nullptr || FrameIdleFlags::LayoutPending(pFrame)) {
        m_times.BeginTurn(WORK_LAYOUT, g_dwFpsStart, g_nFps);
        return CVelmoraApp::OnIdle(lCount);
    }
    m_times.BeginTurn(WORK_COMMANDS, g_dwFpsStart, g_nFps);
    if (Shown(pFrame->m_wndToolBar))
        pFrame->m_wndToolBar.OnUpdateCmdUI(pFrame, TRUE);
    m_times.Mark(WORK_PANE);
    if (Shown(pFrame->m_wndStatusBar))
        pFrame->m_wndStatusBar.OnUpdateCmdUI(pFrame, TRUE);
    return TRUE;
}

}   // namespace

CVelmoraBenchApp theApp;
