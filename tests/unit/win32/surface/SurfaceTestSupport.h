// Helpers shared by the surface tests: the three surface configurations a
// process can be put in, palettes with known colours, and a 32-bit DIB
// section to read drawn pixels back from.
#pragma once
#include "palette/PalId.h"
#include "surface/DibG.h"
#include "surface/SurfaceTesting.h"
#include <cstdint>
#include <memory>
#include <string>

enum class SurfaceConfig { Plain, WinGBottomUp, WinGTopDown };

inline const char* ConfigName(SurfaceConfig c)
{
    switch (c) {
    case SurfaceConfig::Plain: return "plain DIB";
    case SurfaceConfig::WinGBottomUp: return "WinG bottom-up";
    default: return "WinG top-down";
    }
}

// Returns the process to the state before initialisation and initialises it
// again in the given configuration (no WIN.INI message). FALSE when WinG was
// asked for but is not in use.
inline bool ConfigureSurface(SurfaceConfig c)
{
    ResetDisplaySurfaceForTesting();
    switch (c) {
    case SurfaceConfig::Plain: InitDisplaySurface(nullptr, TRUE, 0); return !g_bWinGInUse;
    case SurfaceConfig::WinGBottomUp: InitDisplaySurface(nullptr, FALSE, ORIENT_BOTTOM_UP); break;
    case SurfaceConfig::WinGTopDown: InitDisplaySurface(nullptr, FALSE, ORIENT_TOP_DOWN); break;
    }
    return g_bWinGInUse == TRUE;
}

inline bool ScreenHasPalette()
{
    HDC hdc = GetDC(nullptr);
    bool b = (GetDeviceCaps(hdc, RASTERCAPS) & RC_PALETTE) != 0;
    ReleaseDC(nullptr, hdc);
    return b;
}

// Colour of index i in the test palette: distinct in every channel pair.
inline RGBQUAD TestColor(int i) { return RGBQUAD{BYTE((i * 37) & 0xFF), BYTE(255 - i), BYTE(i), 0}; }

inline std::unique_ptr<CPalId> MakeTestPalette()
{
    RGBQUAD quads[256];
    for (int i = 0; i < 256; ++i)
        quads[i] = TestColor(i);
    auto pal = std::make_unique<CPalId>();
    pal->CreateFromRGBQuad(quads, TRUE);
    return pal;
}

// 0x00RRGGBB of the palette's entry i.
inline uint32_t PaletteRGB(CPalId& pal, int i)
{
    PALETTEENTRY e = {};
    GetPaletteEntries(HPALETTE(pal.m_hObject), UINT(i), 1, &e);
    return (uint32_t(e.peRed) << 16) | (uint32_t(e.peGreen) << 8) | e.peBlue;
}

// A top-down 32-bit DIB section selected into a memory DC, wrapped in the
// framework's CDC so that presentation can draw into it.
class CCanvas {
public:
    CCanvas(int nWidth, int nHeight, uint32_t background = 0x00FF00FF) : m_nWidth(nWidth), m_nHeight(nHeight)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = nWidth;
        bmi.bmiHeader.biHeight = -nHeight;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        void* pBits = nullptr;
        m_hBitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
        m_pBits = static_cast<uint32_t*>(pBits);
        m_dc.Attach(CreateCompatibleDC(nullptr));
        m_hOld = SelectObject(m_dc.m_hDC, m_hBitmap);
        Clear(background);
    }
    ~CCanvas()
    {
        SelectObject(m_dc.m_hDC, m_hOld);
        if (m_hOldPalette)
            SelectPalette(m_dc.m_hDC, m_hOldPalette, FALSE);
        m_dc.DeleteDC();
        DeleteObject(m_hBitmap);
    }
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    void Clear(uint32_t color)
    {
        GdiFlush();
        for (int i = 0; i < m_nWidth * m_nHeight; ++i)
            m_pBits[i] = color;
    }
    // Palette-index colours (DIB_PAL_COLORS) resolve through this palette.
    void UsePalette(CPalId& pal)
    {
        HPALETTE hOld = SelectPalette(m_dc.m_hDC, HPALETTE(pal.m_hObject), FALSE);
        if (!m_hOldPalette)
            m_hOldPalette = hOld;
        RealizePalette(m_dc.m_hDC);
    }
    uint32_t At(int x, int y)
    {
        GdiFlush();
        return m_pBits[y * m_nWidth + x] & 0xFFFFFFu;
    }

    CDC m_dc;
    int m_nWidth, m_nHeight;

private:
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    HPALETTE m_hOldPalette = nullptr;
    uint32_t* m_pBits = nullptr;
};

inline std::string ProfileMessage()
{
    char buf[256] = {};
    GetProfileStringA("WinG", "ProfileMessage", "<missing>", buf, sizeof buf);
    return buf;
}
