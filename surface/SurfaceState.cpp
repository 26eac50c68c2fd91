#include "surface/SurfaceState.h"

BOOL g_bWinGInUse = FALSE;
int32_t g_nOrientation = ORIENT_BOTTOM_UP;
int32_t g_nColorUse = DIB_RGB_COLORS;
HDC g_hWinGDC = nullptr;
HBITMAP g_hbmInitial = nullptr;
CDibG* g_pSelectedDib = nullptr;
SharedBmiRGB g_bmiRGB = {};
SharedBmiIndex g_bmiIndex = {};
