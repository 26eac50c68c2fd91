// The program's running flag: 1 from start, cleared for good by a fatal
// error and never set back. While it is 0, frames, paints, activation
// handling and tunes do nothing. The application object's file defines it;
// test programs that link the player without the application define their
// own.
#pragma once
#include <cstdint>

extern int32_t g_bRunning;
