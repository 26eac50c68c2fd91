// The recommended bitmap format.
#include "wing/WinG.h"

namespace {

// The system palette when the display has one; otherwise all zeros.
void FillSystemColors(RGBQUAD* pColors)
{
    ZeroMemory(pColors, 256 * sizeof(RGBQUAD));
    HDC hdc = GetDC(nullptr);
    if (!hdc)
        return;
    PALETTEENTRY entries[256];
    UINT count = 0;
    if (GetDeviceCaps(hdc, RASTERCAPS) & RC_PALETTE)
        count = GetSystemPaletteEntries(hdc, 0, 256, entries);
    ReleaseDC(nullptr, hdc);
    for (UINT i = 0; i < count && i < 256; ++i)
        pColors[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
}

}   // namespace

BOOL WINAPI WinGRecommendDIBFormat(BITMAPINFO* pFormat)
{
    if (!pFormat)
        return FALSE;
    // Top-down rows: the pixels are addressed like the screen, row 0 first.
    BITMAPINFOHEADER& h = pFormat->bmiHeader;
    ZeroMemory(&h, sizeof h);
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = 1;
    h.biHeight = -1;
    h.biPlanes = 1;
    h.biBitCount = 8;
    h.biCompression = BI_RGB;
    FillSystemColors(pFormat->bmiColors);
    return TRUE;
}
