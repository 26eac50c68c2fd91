// The halftone palette and brushes dithered to its colours.
#include "wing/WinG.h"

#include <cstdint>

namespace {

constexpr int32_t kPattern = 8;   // pattern brushes are 8 x 8 pixels
// Spacing of the colour levels of the halftone cube (0, 51, ..., 255): the
// dither spreads each channel over one such step.
constexpr int32_t kLevelStep = 51;

constexpr uint8_t kDispersed4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
constexpr uint8_t kClustered4[4][4] = {{12, 5, 6, 13}, {4, 0, 1, 7}, {11, 3, 2, 8}, {15, 10, 9, 14}};

// Threshold rank of pixel (x, y) in [0, levels) for a dither pattern;
// the 8 x 8 ordered matrix interleaves four 4 x 4 ones.
int32_t Threshold(int ditherType, int32_t x, int32_t y, int32_t* pLevels)
{
    switch (ditherType) {
    case WING_DISPERSED_4x4: *pLevels = 16; return kDispersed4[y & 3][x & 3];
    case WING_CLUSTERED_4x4: *pLevels = 16; return kClustered4[y & 3][x & 3];
    default: {   // WING_DISPERSED_8x8
        static constexpr uint8_t kQuadrant[2][2] = {{0, 2}, {3, 1}};
        *pLevels = 64;
        return 4 * kDispersed4[y & 3][x & 3] + kQuadrant[(y >> 2) & 1][(x >> 2) & 1];
    }
    }
}

int32_t Clamp255(int32_t v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// Index of the palette entry nearest to (r, g, b).
uint8_t Nearest(const PALETTEENTRY* pEntries, UINT count, int32_t r, int32_t g, int32_t b)
{
    uint32_t best = UINT32_MAX;
    uint8_t index = 0;
    for (UINT i = 0; i < count; ++i) {
        const int32_t dr = pEntries[i].peRed - r;
        const int32_t dg = pEntries[i].peGreen - g;
        const int32_t db = pEntries[i].peBlue - b;
        const uint32_t d = uint32_t(dr * dr + dg * dg + db * db);
        if (d < best) {
            best = d;
            index = uint8_t(i);
        }
    }
    return index;
}

// A PALETTEINDEX colour becomes the RGB of that entry of the DC's palette;
// false when it cannot be looked up.
bool ResolveColor(HDC hdc, COLORREF color, COLORREF* pRgb)
{
    if ((color >> 24) != 0x01) {
        *pRgb = color & 0x00FFFFFF;
        return true;
    }
    if (!hdc)
        return false;
    HPALETTE hpal = static_cast<HPALETTE>(GetCurrentObject(hdc, OBJ_PAL));
    PALETTEENTRY e;
    if (!hpal || GetPaletteEntries(hpal, LOWORD(color), 1, &e) != 1)
        return false;
    *pRgb = RGB(e.peRed, e.peGreen, e.peBlue);
    return true;
}

struct PackedPattern {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
    uint8_t pixels[kPattern][kPattern];   // 8 bytes a row: already 4-byte aligned
};

}   // namespace

HPALETTE WINAPI WinGCreateHalftonePalette(void)
{
    HDC hdc = GetDC(nullptr);
    if (!hdc)
        return nullptr;
    HPALETTE hpal = CreateHalftonePalette(hdc);
    ReleaseDC(nullptr, hdc);
    return hpal;
}

HBRUSH WINAPI WinGCreateHalftoneBrush(HDC hdc, COLORREF color, int ditherType)
{
    if (ditherType != WING_DISPERSED_4x4 && ditherType != WING_DISPERSED_8x8 && ditherType != WING_CLUSTERED_4x4)
        return nullptr;
    COLORREF rgb;
    if (!ResolveColor(hdc, color, &rgb))
        return nullptr;
    HPALETTE hpal = WinGCreateHalftonePalette();
    if (!hpal)
        return nullptr;
    PALETTEENTRY entries[256];
    const UINT count = GetPaletteEntries(hpal, 0, 256, entries);
    DeleteObject(hpal);
    if (count == 0)
        return nullptr;

    PackedPattern pattern = {};
    pattern.header.biSize = sizeof(BITMAPINFOHEADER);
    pattern.header.biWidth = kPattern;
    pattern.header.biHeight = -kPattern;
    pattern.header.biPlanes = 1;
    pattern.header.biBitCount = 8;
    pattern.header.biCompression = BI_RGB;
    pattern.header.biClrUsed = count;
    for (UINT i = 0; i < count; ++i)
        pattern.colors[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};

    // Ordered dithering: each pixel offsets the colour by its threshold,
    // spread evenly over one level step, and takes the nearest entry, so
    // that the pattern averages to the requested colour.
    for (int32_t y = 0; y < kPattern; ++y) {
        for (int32_t x = 0; x < kPattern; ++x) {
            int32_t levels = 0;
            const int32_t rank = Threshold(ditherType, x, y, &levels);
            const int32_t offset = ((2 * rank + 1) * kLevelStep) / (2 * levels) - kLevelStep / 2;
            pattern.pixels[y][x] = Nearest(entries, count, Clamp255(GetRValue(rgb) + offset),
                                           Clamp255(GetGValue(rgb) + offset), Clamp255(GetBValue(rgb) + offset));
        }
    }
    // The packed bitmap sits right after the used part of the colour table.
    if (count < 256) {
        uint8_t* pDst = reinterpret_cast<uint8_t*>(&pattern.colors[count]);
        MoveMemory(pDst, pattern.pixels, sizeof pattern.pixels);
    }
    return CreateDIBPatternBrushPt(&pattern, DIB_RGB_COLORS);
}
