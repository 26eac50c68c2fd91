// Process-wide framework state that exists before any window does.
#pragma once
#include <windows.h>

// The module whose resources the program loads: the executable.
HINSTANCE AfxGetResourceHandle();
HINSTANCE AfxGetInstanceHandle();
