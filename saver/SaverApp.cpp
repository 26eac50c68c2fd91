#include "saver/SaverApp.h"
#include "framework/Framework.h"
#include "palette/PalDisplay.h"
#include "resources/resource.h"
#include "saver/SaverResource.h"
#include "saver/SaverSettings.h"
#include "saver/SaverSettingsDlg.h"
#include "saver/SaverWindows.h"
#include "starfield/FramePacer.h"
#include "starfield/FrameWait.h"
#include <mmsystem.h>

int g_bRunning = 1;

namespace {

CSaverApp theApp;

// A thumbnail needs no more than this, even when the flight is unpaced.
constexpr int32_t kPreviewRate = 60;

HWND WindowFromArgs(const SaverArgs& args)
{
    return args.bHasWindow ? reinterpret_cast<HWND>(static_cast<uintptr_t>(args.nWindow)) : nullptr;
}

}   // namespace

BOOL CSaverApp::InitInstance()
{
    m_strAppName = AfxLoadString(IDS_SAVER_NAME);
    SetDialogBkColor(RGB(192, 192, 192), RGB(0, 0, 0));
    const SaverArgs args = ParseSaverArgs(m_lpCmdLine);
    switch (args.nMode) {
    case SAVER_SETTINGS: {
        HWND hOwner = WindowFromArgs(args);
        CSaverSettingsDlg dlg(hOwner && ::IsWindow(hOwner) ? CWnd::FromHandle(hOwner) : nullptr);
        dlg.DoModal();
        return FALSE;
    }
    case SAVER_PASSWORD: return FALSE;   // no password of its own to set
    case SAVER_FULL_SCREEN:
    case SAVER_PREVIEW: return StartFlight(args);
    default:
        AfxMessageBox(AfxLoadString(IDS_SAVER_USAGE).c_str(), MB_ICONINFORMATION | MB_OK);
        m_nExitCode = SAVER_EXIT_USAGE;
        return FALSE;
    }
}

BOOL CSaverApp::StartFlight(const SaverArgs& args)
{
    m_bPreview = args.nMode == SAVER_PREVIEW;
    HWND hParent = WindowFromArgs(args);
    if (m_bPreview && !(hParent && ::IsWindow(hParent))) {
        m_nExitCode = SAVER_EXIT_NO_WINDOW;
        return FALSE;
    }
    m_choices = ReadSaverChoices();
    try {
        m_scene.Start(m_choices);
        m_hWndSaver = m_bPreview ? CreatePreviewWindow(AfxGetInstanceHandle(), hParent, m_scene)
                                 : CreateFullScreenWindow(AfxGetInstanceHandle(), m_scene);
        if (!m_hWndSaver)
            AfxThrowResourceException();
        m_scene.RealizeIn(m_hWndSaver);
        if (!m_bPreview) {
            if (g_pfnFullScreenUp)
                g_pfnFullScreenUp(m_hWndSaver);
            PalNotifyPaletteChanged(m_hWndSaver);
            m_tunes.PlayTune(m_choices.nTune);
        }
    } catch (CException* e) {
        // The full-screen window goes before the box appears: the box's
        // activation would close it, and the quit message that its end
        // posts would close the box at once.
        if (m_hWndSaver)
            ::DestroyWindow(m_hWndSaver);
        m_hWndSaver = nullptr;
        MSG msg;
        ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        m_scene.Stop();
        ReportFailure(e);
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

// A flight that cannot start says why, as the program does, except inside
// another program's preview window, where the exit code alone tells. The
// text comes through a buffer of the box's own, not the heap: it may have
// to say that memory has run out.
void CSaverApp::ReportFailure(CException* e)
{
    g_bRunning = 0;
    m_nExitCode = SAVER_EXIT_FAILED;
    if (m_bPreview)
        return;
    const UINT nText = e->IsKindOf(RUNTIME_CLASS(CMemoryException)) ? IDS_FATAL_OUT_OF_MEMORY : IDS_FATAL_UNEXPECTED;
    AfxMessageBox(nText, MB_ICONSTOP | MB_OK, 0);
}

int CSaverApp::Run()
{
    int32_t nRate = m_choices.nFrameRate;
    if (m_bPreview && (nRate <= 0 || nRate > kPreviewRate))
        nRate = kPreviewRate;
    CFramePacer pacer;
    pacer.SetRate(nRate);
    // A finer system timer keeps the waits of a paced flight on time.
    CTimerResolution resolution;
    resolution.Hold(pacer.GetRate() != 0);

    MSG msg;
    for (;;) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                m_nExitCode = int(msg.wParam);
                return ExitInstance();
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        const LoopDecision decision = pacer.Decide(::timeGetTime(), 1);
        if (decision.nAction == LOOP_STEP_FRAME)
            m_scene.Step();
        else
            WaitForMessagesOrTimeout(decision.nWaitMs);
    }
}

int CSaverApp::ExitInstance()
{
    m_tunes.StopTune();
    m_tunes.ForgetTunes();
    m_scene.Stop();
    return m_nExitCode;
}
