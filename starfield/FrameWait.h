// The main loop's one wait (Windows only): for a message, or until a frame
// is due.
#pragma once
#include "starfield/FramePacer.h"
#include <cstdint>

// Returns when a message arrives in the thread's queue (posted, sent, input,
// paint or timer) or nTimeoutMs pass; FRAME_WAIT_FOREVER waits for messages
// only. Messages already in the queue end the wait at once.
void WaitForMessagesOrTimeout(uint32_t nTimeoutMs);

// Raises the system timer resolution to 1 ms for its lifetime, so that a
// timed wait ends close to the due time.
class CTimerResolution {
public:
    CTimerResolution();
    ~CTimerResolution();
    CTimerResolution(const CTimerResolution&) = delete;
    CTimerResolution& operator=(const CTimerResolution&) = delete;

private:
    bool m_bRaised;
};
