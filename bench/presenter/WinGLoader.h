// The few WING32.DLL entry points the presenter copies with, bound at run
// time the way the program binds them: LoadLibrary by name, then
// GetProcAddress for each function. Without the library (or with one that
// lacks an entry point) the presenter falls back to StretchDIBits.
#pragma once

#include <windows.h>

#include <string>

struct WinGLibrary {
    HMODULE module = nullptr;
    HDC(WINAPI* CreateDC)() = nullptr;
    BOOL(WINAPI* RecommendDIBFormat)(BITMAPINFO* pbmi) = nullptr;
    HBITMAP(WINAPI* CreateBitmap)(HDC hdc, const BITMAPINFO* pbmi, void** ppBits) = nullptr;
    BOOL(WINAPI* BitBlt)(HDC hdcDst, int xDst, int yDst, int cx, int cy, HDC hdcSrc, int xSrc, int ySrc) = nullptr;
    BOOL(WINAPI* StretchBlt)(HDC hdcDst, int xDst, int yDst, int cxDst, int cyDst, HDC hdcSrc, int xSrc, int ySrc,
                             int cxSrc, int cySrc) = nullptr;

    // TRUE when the library and every entry point above were found.
    bool Load();
    // The file the library was loaded from ("" when none was).
    std::string Path() const;
};
