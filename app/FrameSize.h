// The main frame's restored size for a screen.
#pragma once
#include <windows.h>

// Width and base height by screen width (up to 640, up to 800, wider), the
// height grown by the caption and menu bar, both kept 8 pixels inside the
// screen.
SIZE FrameCreationSize(int cxScreen, int cyScreen, int cyCaption, int cyMenu);
