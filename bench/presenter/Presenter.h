// The smallest program that makes frames of the star engine and shows them
// as fast as the message loop allows: one window of the requested client
// size, a bordered child placed on the screen inside a maximised frame, as
// the program's view is; a loop that drains the queue
// with PeekMessage, then runs the engine's frame step into the 320 x 200
// 8-bit buffer and invalidates that window; WM_PAINT copies the buffer to
// its whole client area. With WING32.DLL the buffer is a WinG bitmap copied
// with WinGStretchBlt; without it, StretchDIBits copies it from memory. What the program does per frame beyond this is
// its own overhead: the framework's routing and idle passes.
#pragma once

#include "MeasuredWindow.h"

#include <string>

struct PresenterReport {
    std::string path;      // "wing" or "dib"
    std::string library;   // the WING32.DLL file in use, "" without WinG
    std::vector<MeasuredWindow> windows;
};

// Shows the window, its client area's top left at `place` on the screen,
// lets the loop run for settleMs, then measures `count` windows of
// windowMs. FALSE with `error` set when the window or the buffer cannot be
// made as asked.
bool RunPresenter(int32_t width, int32_t height, const POINT& place, uint32_t settleMs, uint32_t windowMs,
                  int32_t count, PresenterReport& report, std::string& error);
