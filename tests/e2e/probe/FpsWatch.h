// Following a frame's frame-rate pane (status-bar pane 1) over time, for
// the frame-rate benchmark: the pane reads "Fps = ?" after a resize and a
// number once each measuring window of about three seconds completes. While
// it waits, the probe samples whether the measured window is on show (see
// Sight.h), so that the benchmark can drop windows that were not.
#pragma once

#include "Json.h"

#include <windows.h>

#include <cstdint>
#include <string>

// Waits until the pane reads "Fps = ?", then until it shows a number (the
// end of window 1, which began at the resize); then reads the rates of
// windows skip + 2 ... skip + count + 1, each in the middle of the window
// after it, so that every reading comes from a different window. Meanwhile
// `view` (the frame's child that shows the pictures) is sampled every 100 ms.
// Writes the readings, each with the span its window is expected to have
// had in performance-counter ticks, and the samples as one JSON object;
// FALSE with `error` set when the pane cannot be read or a wait passes
// timeoutMs.
bool WatchFps(HWND frame, HWND view, int32_t skip, int32_t count, uint32_t timeoutMs, JsonWriter& json,
              std::string& error);

// Samples `top` and the whole client area of its child `childId` (of `top`
// itself when childId is 0) every 100 ms from when it shows until it is
// gone (or timeoutMs has passed, FALSE then).
bool WatchWindow(HWND top, int32_t childId, uint32_t timeoutMs, JsonWriter& json, std::string& error);
