// The main loop's one wait (Windows only): for a message, or until a frame
// is due.
#pragma once
#include "starfield/FramePacer.h"
#include <cstdint>

// Returns when a message arrives in the thread's queue (posted, sent, input,
// paint or timer) or nTimeoutMs pass; FRAME_WAIT_FOREVER waits for messages
// only. Messages already in the queue end the wait at once.
void WaitForMessagesOrTimeout(uint32_t nTimeoutMs);

// Holds the system timer resolution at 1 ms while wanted, so that a timed
// wait ends close to the due time, and releases it when not (a finer timer
// costs power) and when the holder goes.
class CTimerResolution {
public:
    CTimerResolution() = default;
    ~CTimerResolution() { Hold(false); }
    CTimerResolution(const CTimerResolution&) = delete;
    CTimerResolution& operator=(const CTimerResolution&) = delete;

    void Hold(bool bWanted);

private:
    bool m_bRaised = false;
};

// The system's raise (timeBeginPeriod, true on success) and release
// (timeEndPeriod) of the timer resolution; process-wide, so that tests can
// watch them.
struct TimerPeriodHooks {
    bool (*pfnBegin)(uint32_t nMs);
    void (*pfnEnd)(uint32_t nMs);
};
extern TimerPeriodHooks g_timerPeriod;
