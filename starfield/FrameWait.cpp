#include "starfield/FrameWait.h"

#include <windows.h>
#include <mmsystem.h>

void WaitForMessagesOrTimeout(uint32_t nTimeoutMs)
{
    // MWMO_INPUTAVAILABLE: input that an earlier look at the queue saw but
    // did not remove ends the wait too, so no message waits for the timeout.
    ::MsgWaitForMultipleObjectsEx(0, nullptr, DWORD(nTimeoutMs), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

namespace {

bool BeginPeriod(uint32_t nMs) { return ::timeBeginPeriod(nMs) == TIMERR_NOERROR; }
void EndPeriod(uint32_t nMs) { ::timeEndPeriod(nMs); }

}   // namespace

TimerPeriodHooks g_timerPeriod = {BeginPeriod, EndPeriod};

void CTimerResolution::Hold(bool bWanted)
{
    if (bWanted && !m_bRaised)
        m_bRaised = g_timerPeriod.pfnBegin(1);
    else if (!bWanted && m_bRaised) {
        g_timerPeriod.pfnEnd(1);
        m_bRaised = false;
    }
}
