// The few WING32.DLL entry points the presenter copies with, bound at run
// time the way the program binds them: LoadLibrary by name, then
// GetProcAddress for each function. Without the library (or with one that
// lacks an entry point) the presenter falls back to StretchDIBits.
#pragma once

#include "wing/WinG.h"

#include <string>

struct WinGLibrary {
    HMODULE module = nullptr;
    PFNWINGCREATEDC CreateDC = nullptr;
    PFNWINGRECOMMENDDIBFORMAT RecommendDIBFormat = nullptr;
    PFNWINGCREATEBITMAP CreateBitmap = nullptr;
    PFNWINGBITBLT BitBlt = nullptr;
    PFNWINGSTRETCHBLT StretchBlt = nullptr;

    // TRUE when the library and every entry point above were found.
    bool Load();
    // The file the library was loaded from ("" when none was).
    std::string Path() const;
};
