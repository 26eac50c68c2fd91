// The star engine's frame step, timed inside this process: Tumble Dry with
// 2000 stars into a 320 x 200 buffer in memory, with nothing presented.
#pragma once

#include "MeasuredWindow.h"

// Runs the step for settleMs, then for `count` windows of windowMs each.
// FALSE when the star array cannot be allocated.
bool TimeEngineStep(uint32_t settleMs, uint32_t windowMs, int32_t count, std::vector<MeasuredWindow>& windows);
