// WinG DCs and the copies out of them. DC coordinates of a bitmap section
// always have y = 0 at the top row, so both row orders copy alike.
#include "wing/WinG.h"

HDC WINAPI WinGCreateDC(void) { return CreateCompatibleDC(nullptr); }

BOOL WINAPI WinGBitBlt(HDC hdcDst, int xDst, int yDst, int cx, int cy, HDC hdcSrc, int xSrc, int ySrc)
{
    if (!hdcDst || !hdcSrc)
        return FALSE;
    return BitBlt(hdcDst, xDst, yDst, cx, cy, hdcSrc, xSrc, ySrc, SRCCOPY);
}

BOOL WINAPI WinGStretchBlt(HDC hdcDst, int xDst, int yDst, int cxDst, int cyDst, HDC hdcSrc, int xSrc, int ySrc,
                           int cxSrc, int cySrc)
{
    if (!hdcDst || !hdcSrc)
        return FALSE;
    // Whole pixels, no blending: an 8-bit palette image must keep its exact
    // colours when it is doubled. The caller's mode is put back afterwards.
    const int previous = SetStretchBltMode(hdcDst, COLORONCOLOR);
    const BOOL ok = StretchBlt(hdcDst, xDst, yDst, cxDst, cyDst, hdcSrc, xSrc, ySrc, cxSrc, cySrc, SRCCOPY);
    if (previous)
        SetStretchBltMode(hdcDst, previous);
    return ok;
}
