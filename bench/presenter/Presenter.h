// The smallest program that shows a 320 x 200 8-bit picture as fast as the
// message loop allows: one window of the requested client size (a popup, or
// a bordered child placed on the screen inside a maximised frame, as the
// program's view is); a loop that drains the queue with PeekMessage and
// invalidates that window; WM_PAINT copies the buffer to its whole client
// area. The buffer stays the same but
// for the frame number written into its first 32 pixels, so that each frame
// that reaches the screen changes it. With WING32.DLL the
// buffer is a WinG bitmap copied with WinGBitBlt (same size) or
// WinGStretchBlt; without it, StretchDIBits copies it from memory.
#pragma once

#include "MeasuredWindow.h"

#include <string>

struct PresenterReport {
    std::string path;      // "wing" or "dib"
    std::string library;   // the WING32.DLL file in use, "" without WinG
    std::vector<MeasuredWindow> windows;
};

// Shows the window (framed, with its client area's top left at `place` on
// the screen, when `place` is given), lets the loop run for settleMs, then
// measures `count` windows of windowMs. FALSE with `error` set when the
// window or the buffer cannot be made as asked.
bool RunPresenter(int32_t width, int32_t height, const POINT* place, uint32_t settleMs, uint32_t windowMs,
                  int32_t count, PresenterReport& report, std::string& error);
