// Run-time binding to WING32.DLL. The library is never linked: LoadWinG
// loads it once per process and resolves its ten entry points by name;
// InitDisplaySurface then decides the surface state (WinG or plain DIBs,
// row orientation, colour usage) once for the whole process.
#pragma once
#include "surface/SurfaceState.h"
#include "wing/WinG.h"

// The library's entry points, in the order they are resolved.
struct WinGEntryPoints {
    PFNWINGCREATEDC pfnCreateDC;
    PFNWINGCREATEBITMAP pfnCreateBitmap;
    PFNWINGGETDIBPOINTER pfnGetDIBPointer;
    PFNWINGRECOMMENDDIBFORMAT pfnRecommendDIBFormat;
    PFNWINGGETDIBCOLORTABLE pfnGetDIBColorTable;
    PFNWINGSETDIBCOLORTABLE pfnSetDIBColorTable;
    PFNWINGBITBLT pfnBitBlt;
    PFNWINGSTRETCHBLT pfnStretchBlt;
    PFNWINGCREATEHALFTONEBRUSH pfnCreateHalftoneBrush;
    PFNWINGCREATEHALFTONEPALETTE pfnCreateHalftonePalette;
};

extern BOOL g_bWinGTried;    // a load was attempted or refused
extern BOOL g_bWinGLoaded;   // the library and all ten entry points were found
extern HMODULE g_hWinGModule;
extern WinGEntryPoints g_WinG;   // valid while g_bWinGLoaded

// Decides the surface state once, at view creation. pszMessage is written
// to WIN.INI ([WinG] ProfileMessage) while the library loads; bDoNotUse
// forbids WinG; nForceOrientation 1 forces bottom-up, 2 top-down, anything
// else takes the library's recommendation.
void InitDisplaySurface(const char* pszMessage, BOOL bDoNotUse, int32_t nForceOrientation);

// Loads the library and its entry points at most once per process; later
// calls return the first result and touch nothing.
BOOL LoadWinG(const char* pszMessage);

// Deletes the shared WinG DC and frees the library (flags stay as they are).
void FreeWinG();
