// The screen saver's two windows, in plain Win32: the full-screen popup
// over the whole virtual screen, which ends on any input, and the preview,
// a child filling another window's client area. Both paint the scene and
// post the quit message (exit code 0) when they are destroyed.
#pragma once
#include "saver/SaverScene.h"

// A topmost popup over every monitor, cursor hidden, with one place per
// monitor (the largest whole multiple of the picture, centred). Null when
// it cannot be made.
HWND CreateFullScreenWindow(HINSTANCE hInstance, CSaverScene& scene);

// A child of hParent covering its client area, with the picture at the
// largest size of its shape. Ends when the parent goes. Null when it
// cannot be made.
HWND CreatePreviewWindow(HINSTANCE hInstance, HWND hParent, CSaverScene& scene);

// Called after every paint of the preview with its window and scene; null
// in the product. A test build sets it to write the picture out.
using PreviewPaintedFn = void (*)(HWND hWnd, CSaverScene& scene);
extern PreviewPaintedFn g_pfnPreviewPainted;

// Called once the full-screen window is up and its palette realised, still
// inside the start's guard; null in the product. A test build sets it to
// make the start fail at that point.
using FullScreenUpFn = void (*)(HWND hWnd);
extern FullScreenUpFn g_pfnFullScreenUp;

// How far the pointer may move from where it was first seen before the
// full-screen window ends (in either direction, pixels).
constexpr int32_t kPointerSlack = 4;
