// Process-wide display-surface state shared by every frame buffer: whether
// WinG renders the buffers, the row orientation of all buffers, how
// StretchDIBits reads a colour table, the shared WinG device context with
// the buffer currently selected into it, and the two shared presentation
// headers. InitDisplaySurface sets it once; before that it holds the start
// values (no WinG, bottom-up, DIB_RGB_COLORS, nothing selected).
#pragma once
#include <windows.h>
#include <cstdint>

class CDibG;

enum : int32_t {
    ORIENT_BOTTOM_UP = 1,
    ORIENT_TOP_DOWN = 2,
};

// A presentation header whose table holds RGB colours.
struct SharedBmiRGB {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[256];
};

// A presentation header whose table holds the palette indices 0 … 255.
struct SharedBmiIndex {
    BITMAPINFOHEADER bmiHeader;
    WORD bmiIndices[256];
};

extern BOOL g_bWinGInUse;
extern int32_t g_nOrientation;
extern int32_t g_nColorUse;
extern HDC g_hWinGDC;
extern HBITMAP g_hbmInitial;    // what the shared DC held before any buffer
extern CDibG* g_pSelectedDib;   // the buffer whose bitmap the shared DC holds
extern SharedBmiRGB g_bmiRGB;
extern SharedBmiIndex g_bmiIndex;
