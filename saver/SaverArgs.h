// The screen saver's command line, in the forms Windows uses: a switch
// letter after "/" or "-" (any case), and for /p, /c and /a a window handle
// in decimal after a space or a colon. Plain C++, so that the host tree
// tests it natively.
#pragma once
#include <cstdint>

enum : int32_t {
    SAVER_SETTINGS = 0,      // /c, /c:<hwnd> or no argument: the settings dialog
    SAVER_FULL_SCREEN = 1,   // /s
    SAVER_PREVIEW = 2,       // /p <hwnd>: a preview inside that window
    SAVER_PASSWORD = 3,      // /a: nothing to do
    SAVER_USAGE = 4,         // anything else: show the usage
};

struct SaverArgs {
    int32_t nMode;
    int32_t bHasWindow;   // a handle was given (and parsed) for /p, /c or /a
    uint64_t nWindow;     // the handle's value when bHasWindow is 1
};

// Never fails: what it cannot read is SAVER_USAGE, except that /p with a
// missing or unreadable handle stays SAVER_PREVIEW without a window (the
// caller then ends at once, since there is nothing to draw into).
// A null pointer reads as an empty command line.
SaverArgs ParseSaverArgs(const char* pszCommandLine);
