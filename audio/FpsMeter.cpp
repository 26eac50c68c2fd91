#include "audio/FpsMeter.h"
#include <cstdio>

uint32_t g_dwFpsStart = 0;
uint32_t g_nFrames = 0;
int32_t g_nFps = -1;

void TickFpsMeter()
{
    ++g_nFrames;
    // The elapsed time is an unsigned difference, so a wrap of the clock
    // past 2^32 inside a window is harmless.
    if (g_pfnFpsClock() - g_dwFpsStart < 3000u)
        return;
    g_nFps = int32_t(g_nFrames / 3u);
    RestartFpsMeter(0);
}

void RestartFpsMeter(int32_t bForget)
{
    g_dwFpsStart = g_pfnFpsClock();
    g_nFrames = 0;
    if (bForget)
        g_nFps = -1;
}

void FormatFpsText(char* text, uint32_t size)
{
    if (g_nFps < 0)
        std::snprintf(text, size, "Fps = ?");
    else
        std::snprintf(text, size, "Fps = %i", int(g_nFps + 2));
}
