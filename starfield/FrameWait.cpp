#include "starfield/FrameWait.h"

#include <windows.h>
#include <mmsystem.h>

void WaitForMessagesOrTimeout(uint32_t nTimeoutMs)
{
    // MWMO_INPUTAVAILABLE: input that an earlier look at the queue saw but
    // did not remove ends the wait too, so no message waits for the timeout.
    ::MsgWaitForMultipleObjectsEx(0, nullptr, DWORD(nTimeoutMs), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

CTimerResolution::CTimerResolution() : m_bRaised(::timeBeginPeriod(1) == TIMERR_NOERROR) {}

CTimerResolution::~CTimerResolution()
{
    if (m_bRaised)
        ::timeEndPeriod(1);
}
