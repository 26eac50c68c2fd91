// Test support only: the binding happens once per process, so tests that
// try several configurations in one process return everything to the state
// before InitDisplaySurface between cases. Never called by the program.
#pragma once
#include "surface/WinGBinding.h"

// Frees the library and the shared DC and resets the binding flags, the
// entry-point table and the surface state to their start values. No buffer
// may be created while this runs.
void ResetDisplaySurfaceForTesting();
