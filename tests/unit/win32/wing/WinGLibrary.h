// Loads WING32.DLL by name at run time, as the program does, and tells
// which library the loader picked: ours from the program's folder or the
// system's own.
#pragma once

#include "wing/WinG.h"

#include <string>

struct WinGLibrary {
    HMODULE hModule = nullptr;
    DWORD loadError = 0;   // GetLastError after a failed load
    std::string path;      // file the loader took
    bool bOurs = false;    // ours: from the program's folder, not Wine's builtin
    int nResolved = 0;     // entry points found by name

    PFNWINGCREATEDC CreateDC = nullptr;
    PFNWINGCREATEBITMAP CreateBitmap = nullptr;
    PFNWINGGETDIBPOINTER GetDIBPointer = nullptr;
    PFNWINGRECOMMENDDIBFORMAT RecommendDIBFormat = nullptr;
    PFNWINGGETDIBCOLORTABLE GetDIBColorTable = nullptr;
    PFNWINGSETDIBCOLORTABLE SetDIBColorTable = nullptr;
    PFNWINGBITBLT BitBlt = nullptr;
    PFNWINGSTRETCHBLT StretchBlt = nullptr;
    PFNWINGCREATEHALFTONEBRUSH CreateHalftoneBrush = nullptr;
    PFNWINGCREATEHALFTONEPALETTE CreateHalftonePalette = nullptr;

    bool Loaded() const { return hModule && nResolved == 10; }
};

// The library of this test run, loaded once.
const WinGLibrary& TheWinG();

// Which library the CTest entry asked Wine for (VELMORA_WING_EXPECT):
// "ours", "wine" or "none".
std::string ExpectedWinG();
