#include "app/VelmoraApp.h"
#include "audio/TunePlayer.h"
#include "resources/resource.h"
#include "starfield/FrameCalls.h"
#include <mmsystem.h>

void CVelmoraApp::ReportFatalError(CException* e)
{
    // The sound stops before the message appears (through the tune player's
    // sound service, which the tests replace).
    g_pfnSoundService(nullptr, SND_ASYNC | SND_NODEFAULT);
    UINT nID = e && e->IsKindOf(RUNTIME_CLASS(CMemoryException)) ? IDS_FATAL_OUT_OF_MEMORY : IDS_FATAL_UNEXPECTED;
    AfxMessageBox(nID, MB_ICONSTOP | MB_OK, 0);
}

// Shared by the main frame's command guard and the view's creation guard.
// Rendering stops before the message appears.
void HaltOnFatalError(CException* e)
{
    g_bRunning = 0;
    if (auto* pApp = static_cast<CVelmoraApp*>(AfxGetApp()))
        pApp->ReportFatalError(e);
    e->Delete();
}
