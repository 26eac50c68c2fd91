// Run-time binding to WING32.DLL. The library is never linked: LoadWinG
// loads it once per process and resolves its ten entry points by name;
// InitDisplaySurface then decides the surface state (WinG or plain DIBs,
// row orientation, colour usage) once for the whole process.
#pragma once
#include "surface/SurfaceState.h"

// The library's entry points, in the order they are resolved.
struct WinGEntryPoints {
    HDC(WINAPI* pfnCreateDC)();
    HBITMAP(WINAPI* pfnCreateBitmap)(HDC hdc, const BITMAPINFO* pbmi, void** ppBits);
    void*(WINAPI* pfnGetDIBPointer)(HBITMAP hbm, BITMAPINFO* pbmi);
    BOOL(WINAPI* pfnRecommendDIBFormat)(BITMAPINFO* pbmi);
    UINT(WINAPI* pfnGetDIBColorTable)(HDC hdc, UINT start, UINT count, RGBQUAD* pColors);
    UINT(WINAPI* pfnSetDIBColorTable)(HDC hdc, UINT start, UINT count, const RGBQUAD* pColors);
    BOOL(WINAPI* pfnBitBlt)(HDC hdcDst, int xDst, int yDst, int cx, int cy, HDC hdcSrc, int xSrc, int ySrc);
    BOOL(WINAPI* pfnStretchBlt)(HDC hdcDst, int xDst, int yDst, int cxDst, int cyDst, HDC hdcSrc,
                                int xSrc, int ySrc, int cxSrc, int cySrc);
    HBRUSH(WINAPI* pfnCreateHalftoneBrush)(HDC hdc, COLORREF color, int nDitherType);
    HPALETTE(WINAPI* pfnCreateHalftonePalette)();
};

extern BOOL g_bWinGTried;        // a load was attempted or refused
extern BOOL g_bWinGLoaded;       // the library and all ten entry points were found
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
