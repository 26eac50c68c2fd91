// What the view asks of the main frame and the application. The program's
// shell answers these (app/FrameCalls.cpp and app/FatalError.cpp).
#pragma once
#include "framework/Framework.h"
#include <cstdint>

// The area the view is laid out in: the main frame's client rectangle and
// its toolbar's and status bar's heights (each the height plus one, or 0
// while the bar is hidden). FALSE while there is no main frame window.
BOOL FrameLayoutArea(RECT& rcClient, int32_t& nToolBarHeight, int32_t& nStatusBarHeight);
// Gives the main frame's toolbar button at position nPos the image nImage,
// keeping its command and style; does nothing without a toolbar or for a
// position outside it.
void FrameSetButtonImage(int nPos, int nImage);
// The one fatal-error path: clears g_bRunning for good, has the application
// report e (the sound stops, then the message), and deletes e. The caller
// arranges the end of the program.
void HaltOnFatalError(CException* e);
