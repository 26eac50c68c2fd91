// When the main loop steps a frame. Unpaced, a frame follows every drained
// queue; paced, frames fall on a fixed grid of 1/N second counted from the
// first frame, so the rate does not drift, and a late frame is followed by
// the next grid point rather than a burst that catches up. While the window
// cannot be seen the loop only waits for messages.
//
// Platform-free: the caller passes the clock reading (timeGetTime in the
// program), so tests script it.
#pragma once
#include <cstdint>

// What the main loop does once it has drained the queue and run the idle
// passes.
enum : int32_t { LOOP_STEP_FRAME = 0, LOOP_WAIT_DUE = 1, LOOP_WAIT_MESSAGES = 2 };

// A wait with no timeout: messages only.
constexpr uint32_t FRAME_WAIT_FOREVER = 0xFFFFFFFFu;

// The wait of nWaitMs is the time to the next due frame for LOOP_WAIT_DUE,
// FRAME_WAIT_FOREVER for LOOP_WAIT_MESSAGES and 0 for LOOP_STEP_FRAME, so it
// can be handed to the wait as it stands.
struct LoopDecision {
    int32_t nAction;
    uint32_t nWaitMs;
};

// The highest rate the pacer holds.
constexpr int32_t kMaxFrameRate = 1000;

// The rate written in the settings file: a decimal number 1..1000, with
// blanks around it allowed. Anything else (empty, 0, a sign, other
// characters, a larger number) gives 0, unpaced.
int32_t FrameRateFromText(const char* pszText);

class CFramePacer {
public:
    // 1..1000: frames per second; anything else: unpaced. Starts a new grid.
    void SetRate(int32_t nFramesPerSecond);
    // 0 when unpaced.
    int32_t GetRate() const { return m_nRate; }

    // nNowMs: a millisecond clock that wraps past 2^32. bCanBeSeen: 0 while
    // the window is minimised; the grid starts again from the first frame
    // after that. Returns LOOP_STEP_FRAME when a frame is due (and counts
    // it on the grid), else the wait.
    LoopDecision Decide(uint32_t nNowMs, int32_t bCanBeSeen);

private:
    // Steps the frame at nNowMs and moves the due time to the first grid
    // point after it.
    LoopDecision StepAt(uint32_t nNowMs);

    int32_t m_nRate = 0;
    int32_t m_bGridStarted = 0;
    // The grid: frame k of a second is due at
    // m_nSecondStart + k * 1000 / m_nRate (k < m_nRate); the start moves on
    // a whole second at a time.
    uint32_t m_nSecondStart = 0;
    uint32_t m_nDueMs = 0;
    // No due time lies further ahead than this (one grid step, rounded up);
    // a longer wait means the clock jumped, and the grid starts again.
    uint32_t m_nLongestWait = 0;
};
