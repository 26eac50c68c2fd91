// The main loop's turn split into pieces and timed with the performance
// counter, for the benchmark's build of the program. Each Mark ends the
// running piece at the current counter reading and starts the next, so the
// pieces cover the loop without gaps: their sums over a window add up to
// the window's wall time. The sums are kept per window of the frame-rate
// meter and written, one line of JSON per window, to a file beside the
// program (its name with ".work" for ".exe") when the meter starts a new
// window, so that the benchmark matches them with the meter's readings.
#pragma once

#include <cstdint>
#include <cstdio>

enum WorkPiece : uint32_t {
    WORK_STEP,           // after the idle passes up to the first message: the frame step, then PeekMessage
    WORK_PRETRANSLATE,   // the framework's pre-translation of a message (accelerators)
    WORK_DISPATCH,       // translation and dispatch of a message (the paint among them), then PeekMessage
    WORK_COMMANDS,       // the idle pass's command-state updates of the toolbar buttons
    WORK_PANE,           // the idle pass's update of the status bar: the rate pane's text
    WORK_LAYOUT,         // an idle pass that carried out a deferred layout, whole
    WORK_TEMPMAP,        // the second idle pass: temporary window objects freed
    WORK_PIECES
};

class WorkTimes {
public:
    WorkTimes();
    ~WorkTimes();

    // Ends the running piece and starts `next`.
    void Mark(WorkPiece next);
    // A new turn of the loop begins with `next`. When the meter's window
    // start `meterStart` has moved since the last turn, the sums so far are
    // written as the window that ended and a new window begins.
    void BeginTurn(WorkPiece next, uint32_t meterStart, int32_t meterRate);

private:
    void Write(int64_t now, int32_t meterRate);

    FILE* m_out = nullptr;
    int64_t m_frequency = 0;
    int64_t m_last = 0;          // the counter at the last mark
    int64_t m_windowStart = 0;   // the counter when the current window began
    uint32_t m_meterStart = 0;
    uint32_t m_turns = 0;
    uint32_t m_messages = 0;
    WorkPiece m_running = WORK_STEP;
    int64_t m_sums[WORK_PIECES] = {};
};
