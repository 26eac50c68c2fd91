// palette_probe: the smallest program that shows what an 8-bit palette
// display makes of an identity palette, with nothing of the product in it.
//
//   palette_probe SECONDS [memdc-first]
//
// It builds a 256-entry identity palette (the display's 20 static colours at
// 0..9 and 246..255, the greys 1..236 in 10..245 flagged PC_NOCOLLAPSE),
// opens a 256 x 128 popup at the top left of the desktop, selects and
// realises the palette in WM_PAINT and draws the same 256 x 32 picture,
// column x holding colour index x, three ways:
//   rows  0..31  StretchDIBits with an RGB colour table (DIB_RGB_COLORS)
//   rows 32..63  StretchDIBits with an index table (DIB_PAL_COLORS)
//   rows 64..95  BitBlt from a memory DC holding an 8-bit DIB section
// and, for comparison with a plain GDI primitive, one more band:
//   rows 96..127 FillRect with a PALETTEINDEX(x) brush per column
// Two seconds after it opened it paints once more and prints one line of
// JSON: RealizePalette's results (first and latest paint), whether it is the
// foreground window, the raster caps and the palette size of the screen, the client
// area's screen position, the logical palette and the system palette
// entries. It stays up for SECONDS so that the screen can be captured.
// With "memdc-first" it realises the palette in its memory DC before it
// creates the window.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const int kWidth = 256;
const int kBand = 32;
const UINT_PTR kReportTimer = 1;
const UINT_PTR kEndTimer = 2;

struct Probe {
    HPALETTE hPalette = nullptr;
    PALETTEENTRY entries[256] = {};
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } rgb = {};
    struct {
        BITMAPINFOHEADER header;
        WORD indices[256];
    } pal = {};
    BYTE pixels[kWidth * kBand] = {};
    HDC hMemDC = nullptr;
    HBITMAP hSection = nullptr;
    HGDIOBJ hOldBitmap = nullptr;
    UINT firstRealized = 0;   // RealizePalette's result in the first paint
    UINT realized = 0;        // and in the latest one
    int paints = 0;
};

Probe g_probe;

void BuildPalette()
{
    HDC hdc = GetDC(nullptr);
    GetSystemPaletteEntries(hdc, 0, 256, g_probe.entries);
    ReleaseDC(nullptr, hdc);
    for (int i = 0; i < 256; ++i) {
        PALETTEENTRY& e = g_probe.entries[i];
        if (i >= 10 && i < 246) {
            const BYTE grey = BYTE(i - 9);
            e = PALETTEENTRY{grey, grey, grey, PC_NOCOLLAPSE};
        } else {
            e.peFlags = 0;
        }
    }
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[256];
    } log = {0x300, 256, {}};
    for (int i = 0; i < 256; ++i)
        log.entries[i] = g_probe.entries[i];
    g_probe.hPalette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&log));
}

void BuildPictures()
{
    BITMAPINFOHEADER h = {};
    h.biSize = sizeof h;
    h.biWidth = kWidth;
    h.biHeight = -kBand;
    h.biPlanes = 1;
    h.biBitCount = 8;
    h.biCompression = BI_RGB;
    h.biClrUsed = 256;
    g_probe.rgb.header = h;
    g_probe.pal.header = h;
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY& e = g_probe.entries[i];
        g_probe.rgb.colors[i] = RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
        g_probe.pal.indices[i] = WORD(i);
    }
    for (int y = 0; y < kBand; ++y)
        for (int x = 0; x < kWidth; ++x)
            g_probe.pixels[y * kWidth + x] = BYTE(x);

    void* bits = nullptr;
    g_probe.hMemDC = CreateCompatibleDC(nullptr);
    g_probe.hSection = CreateDIBSection(g_probe.hMemDC, reinterpret_cast<BITMAPINFO*>(&g_probe.rgb), DIB_RGB_COLORS,
                                        &bits, nullptr, 0);
    if (g_probe.hSection && bits) {
        CopyMemory(bits, g_probe.pixels, sizeof g_probe.pixels);
        g_probe.hOldBitmap = SelectObject(g_probe.hMemDC, g_probe.hSection);
    }
}

// What a program with an off-screen DC may do before its window is up:
// select the palette into the memory DC and realise it there.
void RealizeInMemoryDC()
{
    SelectPalette(g_probe.hMemDC, g_probe.hPalette, FALSE);
    RealizePalette(g_probe.hMemDC);
}

void Report(HWND hwnd)
{
    HDC hdc = GetDC(hwnd);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    PALETTEENTRY sys[256] = {};
    GetSystemPaletteEntries(hdc, 0, 256, sys);
    std::printf("{\"firstRealized\": %u, \"realized\": %u, \"paints\": %d, \"foreground\": %d, "
                "\"rastercaps\": %d, \"bitspixel\": %d, \"sizepalette\": %d, "
                "\"section\": %d, \"origin\": [%ld, %ld], \"logical\": [",
                g_probe.firstRealized, g_probe.realized, g_probe.paints, GetForegroundWindow() == hwnd ? 1 : 0,
                GetDeviceCaps(hdc, RASTERCAPS), GetDeviceCaps(hdc, BITSPIXEL), GetDeviceCaps(hdc, SIZEPALETTE),
                g_probe.hOldBitmap ? 1 : 0, origin.x, origin.y);
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY& e = g_probe.entries[i];
        std::printf("%s[%d, %d, %d]", i ? ", " : "", e.peRed, e.peGreen, e.peBlue);
    }
    std::printf("], \"system\": [");
    for (int i = 0; i < 256; ++i)
        std::printf("%s[%d, %d, %d]", i ? ", " : "", sys[i].peRed, sys[i].peGreen, sys[i].peBlue);
    std::printf("]}\n");
    std::fflush(stdout);
    ReleaseDC(hwnd, hdc);
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    HPALETTE hOld = SelectPalette(hdc, g_probe.hPalette, FALSE);
    g_probe.realized = RealizePalette(hdc);
    if (g_probe.paints++ == 0)
        g_probe.firstRealized = g_probe.realized;
    const BYTE* bits = g_probe.pixels;
    StretchDIBits(hdc, 0, 0, kWidth, kBand, 0, 0, kWidth, kBand, bits, reinterpret_cast<BITMAPINFO*>(&g_probe.rgb),
                  DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(hdc, 0, kBand, kWidth, kBand, 0, 0, kWidth, kBand, bits, reinterpret_cast<BITMAPINFO*>(&g_probe.pal),
                  DIB_PAL_COLORS, SRCCOPY);
    if (g_probe.hOldBitmap)
        BitBlt(hdc, 0, 2 * kBand, kWidth, kBand, g_probe.hMemDC, 0, 0, SRCCOPY);
    for (int x = 0; x < kWidth; ++x) {
        HBRUSH hBrush = CreateSolidBrush(PALETTEINDEX(x));
        RECT r = {x, 3 * kBand, x + 1, 4 * kBand};
        FillRect(hdc, &r, hBrush);
        DeleteObject(hBrush);
    }
    GdiFlush();
    SelectPalette(hdc, hOld, FALSE);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
        // The usual answers of a palette program: realise again and repaint
        // when it gains the focus or another program changed the palette.
        if (msg == WM_PALETTECHANGED && HWND(wParam) == hwnd)
            return 0;
        InvalidateRect(hwnd, nullptr, FALSE);
        return TRUE;
    case WM_TIMER:
        if (wParam == kReportTimer) {
            // One more paint, then the report of what it did.
            KillTimer(hwnd, kReportTimer);
            InvalidateRect(hwnd, nullptr, FALSE);
            UpdateWindow(hwnd);
            Report(hwnd);
        } else {
            DestroyWindow(hwnd);
        }
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}   // namespace

int main(int argc, char** argv)
{
    const UINT seconds = argc > 1 ? UINT(std::strtoul(argv[1], nullptr, 10)) : 10u;
    BuildPalette();
    BuildPictures();
    if (argc > 2 && std::strcmp(argv[2], "memdc-first") == 0)
        RealizeInMemoryDC();
    if (!g_probe.hPalette)
        return 1;

    WNDCLASSA wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    wc.lpszClassName = "PaletteProbe";
    if (!RegisterClassA(&wc))
        return 1;
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "Palette probe", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                                4 * kBand, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd)
        return 1;
    SetForegroundWindow(hwnd);
    SetTimer(hwnd, kReportTimer, 2000u, nullptr);
    SetTimer(hwnd, kEndTimer, seconds * 1000u, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (g_probe.hOldBitmap)
        SelectObject(g_probe.hMemDC, g_probe.hOldBitmap);
    DeleteObject(g_probe.hSection);
    DeleteDC(g_probe.hMemDC);
    DeleteObject(g_probe.hPalette);
    return 0;
}
