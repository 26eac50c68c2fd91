// The frame-rate meter: counts frame steps over windows of at least three
// seconds and turns each completed window into whole frames per second.
#pragma once
#include <cstdint>

extern uint32_t g_dwFpsStart;   // clock reading at which the current window began
extern uint32_t g_nFrames;      // frame steps counted in the current window
extern int32_t g_nFps;          // rate of the last completed window; -1: none since the last restart

// Millisecond clock the meter reads (timeGetTime in the program; tests
// replace it). A 32-bit count that wraps.
extern uint32_t (*g_pfnFpsClock)();

// Counts one frame; closes the window once 3000 ms or more have passed.
void TickFpsMeter();
// Starts a new window; with bForget the shown rate is forgotten too.
void RestartFpsMeter(int32_t bForget);
// The pane text: "Fps = ?" while no rate is known, else "Fps = %i" with the
// rate plus 2. Writes at most 16 bytes including the terminator.
void FormatFpsText(char* text, uint32_t size);
