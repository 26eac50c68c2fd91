// Whether a window is on show, sampled while the frame-rate benchmark
// measures it. A minimised or covered window paints nothing (or paints into
// an empty clip), and its loop then runs several times faster than one whose
// pictures reach the screen; such a measuring window must not count.
#pragma once

#include "Json.h"
#include "PerformanceCounter.h"

#include <windows.h>

#include <cstdint>
#include <vector>

struct SightSample {
    int64_t ticks;             // performance counter once the sample was taken
    int32_t iconic;            // the top-level window is minimised
    int32_t foreground;        // the top-level window is the foreground window
    int32_t visiblePermille;   // share of the watched client area the screen shows
};

// One sample of `top` (a top-level window) and `watched` (its client area
// that shows the pictures: the top-level window itself or a child).
SightSample TakeSight(HWND top, HWND watched);

// Writes "frequency" and "samples" ([ticks, iconic, foreground, permille]
// each) as members of the current JSON object.
void WriteSight(JsonWriter& json, const std::vector<SightSample>& samples);
