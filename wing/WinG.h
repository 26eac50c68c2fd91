// Interface of WING32.DLL: fast off-screen 8-bit bitmaps and copies to the
// screen. Every entry point is stdcall and exported by its plain name; the
// program loads the library at run time and resolves them with
// GetProcAddress, so the function-pointer types below are what it uses.
#pragma once

#include <windows.h>

// Dither patterns understood by WinGCreateHalftoneBrush.
enum : int {
    WING_DISPERSED_4x4 = 0,   // ordered (Bayer) 4 x 4 threshold matrix
    WING_DISPERSED_8x8 = 1,   // ordered (Bayer) 8 x 8 threshold matrix
    WING_CLUSTERED_4x4 = 2    // clustered-dot 4 x 4 threshold matrix
};

#ifdef __cplusplus
extern "C" {
#endif

// A memory device context for WinG bitmaps; delete it with DeleteDC.
HDC WINAPI WinGCreateDC(void);

// A device-independent bitmap section of the header's size, depth,
// orientation (negative height: top-down rows) and colour table. When ppBits
// is given it receives the address of the pixels (null on failure).
HBITMAP WINAPI WinGCreateBitmap(HDC hdc, const BITMAPINFO* pHeader, void** ppBits);

// The pixels of a WinG bitmap, laid out as its header says; when pHeader is
// given, its BITMAPINFOHEADER (only the header, not the colour table) is
// filled, biHeight negative for top-down rows. Null for anything that is
// not a bitmap section.
void* WINAPI WinGGetDIBPointer(HBITMAP hbm, BITMAPINFO* pHeader);

// Fills a BITMAPINFOHEADER followed by 256 RGBQUADs with the format that
// copies fastest: 8 bits, top-down rows (biHeight -1), width 1. The colour
// table is the system palette on a palette display, zeros otherwise.
BOOL WINAPI WinGRecommendDIBFormat(BITMAPINFO* pFormat);

// Colour table of the bitmap selected into a WinG DC; both return the
// number of entries copied (0 on failure).
UINT WINAPI WinGGetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD* pColors);
UINT WINAPI WinGSetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD* pColors);

// Copies from the bitmap selected into a WinG DC. Source coordinates have
// y = 0 at the top row whatever the bitmap's orientation.
BOOL WINAPI WinGBitBlt(HDC hdcDst, int xDst, int yDst, int cx, int cy, HDC hdcSrc, int xSrc, int ySrc);
BOOL WINAPI WinGStretchBlt(HDC hdcDst, int xDst, int yDst, int cxDst, int cyDst, HDC hdcSrc, int xSrc, int ySrc,
                           int cxSrc, int cySrc);

// A brush approximating the colour with the halftone palette's colours in
// one of the dither patterns above (null for an unknown pattern). A
// PALETTEINDEX colour is looked up in the palette selected into hdc.
HBRUSH WINAPI WinGCreateHalftoneBrush(HDC hdc, COLORREF color, int ditherType);

// The display's halftone palette; delete it with DeleteObject.
HPALETTE WINAPI WinGCreateHalftonePalette(void);

#ifdef __cplusplus
}
#endif

// Function-pointer types for callers that resolve the entry points by name,
// taken from the declarations above so that each signature is written once.
typedef decltype(&WinGCreateDC) PFNWINGCREATEDC;
typedef decltype(&WinGCreateBitmap) PFNWINGCREATEBITMAP;
typedef decltype(&WinGGetDIBPointer) PFNWINGGETDIBPOINTER;
typedef decltype(&WinGRecommendDIBFormat) PFNWINGRECOMMENDDIBFORMAT;
typedef decltype(&WinGGetDIBColorTable) PFNWINGGETDIBCOLORTABLE;
typedef decltype(&WinGSetDIBColorTable) PFNWINGSETDIBCOLORTABLE;
typedef decltype(&WinGBitBlt) PFNWINGBITBLT;
typedef decltype(&WinGStretchBlt) PFNWINGSTRETCHBLT;
typedef decltype(&WinGCreateHalftoneBrush) PFNWINGCREATEHALFTONEBRUSH;
typedef decltype(&WinGCreateHalftonePalette) PFNWINGCREATEHALFTONEPALETTE;
