#include "app/VelmoraApp.h"
#include "audio/TunePlayer.h"
#include "resources/resource.h"
#include <mmsystem.h>

void CVelmoraApp::ReportFatalError(CException* e)
{
    // The sound stops before the message appears (through the tune player's
    // sound service, which the tests replace).
    g_pfnSoundService(nullptr, SND_ASYNC | SND_NODEFAULT);
    UINT nID = e && e->IsKindOf(RUNTIME_CLASS(CMemoryException)) ? IDS_FATAL_OUT_OF_MEMORY : IDS_FATAL_UNEXPECTED;
    AfxMessageBox(nID, MB_ICONSTOP | MB_OK, 0);
}
