// Presentation read back: buffers with a known pattern are drawn into a
// 32-bit DIB section and into a window on the screen, on the WinG engine and
// on the StretchDIBits engine, and compared with the buffer through the
// palette. The WinG copies are watched through the entry-point table.
#include "SurfaceTestSupport.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>

namespace {

// Records which WinG copy ran, with its arguments, and forwards the call.
struct BlitSpy {
    static inline WinGEntryPoints s_saved = {};
    static inline int s_nBitBlt = 0;
    static inline int s_nStretchBlt = 0;
    static inline int s_args[8] = {};

    static BOOL WINAPI BitBlt(HDC d, int x, int y, int cx, int cy, HDC s, int xs, int ys)
    {
        ++s_nBitBlt;
        const int args[8] = {x, y, cx, cy, xs, ys, cx, cy};
        std::copy(args, args + 8, s_args);
        return s_saved.pfnBitBlt(d, x, y, cx, cy, s, xs, ys);
    }
    static BOOL WINAPI StretchBlt(HDC d, int x, int y, int cx, int cy, HDC s, int xs, int ys, int cxs, int cys)
    {
        ++s_nStretchBlt;
        const int args[8] = {x, y, cx, cy, xs, ys, cxs, cys};
        std::copy(args, args + 8, s_args);
        return s_saved.pfnStretchBlt(d, x, y, cx, cy, s, xs, ys, cxs, cys);
    }
    BlitSpy()
    {
        s_saved = g_WinG;
        s_nBitBlt = s_nStretchBlt = 0;
        g_WinG.pfnBitBlt = &BitBlt;
        g_WinG.pfnStretchBlt = &StretchBlt;
    }
    ~BlitSpy() { g_WinG = s_saved; }
    void Reset() { s_nBitBlt = s_nStretchBlt = 0; }
};

BYTE PatternIndex(int x, int y) { return BYTE(10 + (x + 3 * y) % 236); }

class Presentation : public ::testing::TestWithParam<SurfaceConfig> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ConfigureSurface(GetParam())) << ConfigName(GetParam());
        m_pal = MakeTestPalette();
        m_dib.CreateWithPalette(320, 200, m_pal.get());
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 320; ++x)
                m_dib.SetPixel(x, y, PatternIndex(x, y));
        m_dib.SelectIntoSharedDC();
    }
    void TearDown() override
    {
        m_dib.Destroy();
        m_pal.reset();
        ResetDisplaySurfaceForTesting();
    }
    uint32_t Expected(int x, int y) { return PaletteRGB(*m_pal, PatternIndex(x, y)); }

    // Every pixel of the w x h destination at (x0, y0) shows buffer pixel
    // (xs + (X * cxs) / w, ys + (Y * cys) / h); with bExact false a pixel
    // may come from a neighbour of that source pixel (rounding of odd
    // stretches differs between engines). Returns the number of mismatches.
    template <class ReadFn>
    int CompareStretch(ReadFn read, int x0, int y0, int w, int h, int xs, int ys, int cxs, int cys, bool bExact)
    {
        int nBad = 0;
        for (int Y = 0; Y < h; ++Y) {
            for (int X = 0; X < w; ++X) {
                const int sx = xs + int(int64_t(X) * cxs / w);
                const int sy = ys + int(int64_t(Y) * cys / h);
                const uint32_t actual = read(x0 + X, y0 + Y);
                bool bMatch = actual == Expected(sx, sy);
                for (int dy = -1; !bExact && !bMatch && dy <= 1; ++dy)
                    for (int dx = -1; !bMatch && dx <= 1; ++dx)
                        bMatch = sx + dx >= 0 && sx + dx < 320 && sy + dy >= 0 && sy + dy < 200 &&
                                 actual == Expected(sx + dx, sy + dy);
                if (!bMatch && nBad++ < 3)
                    ADD_FAILURE() << "pixel (" << x0 + X << ", " << y0 + Y << ") is " << std::hex << actual
                                  << ", buffer (" << std::dec << sx << ", " << sy << ") is " << std::hex
                                  << Expected(sx, sy);
            }
        }
        return nBad;
    }

    std::unique_ptr<CPalId> m_pal;
    CDibG m_dib;
};

INSTANTIATE_TEST_SUITE_P(Configs, Presentation,
                         ::testing::Values(SurfaceConfig::Plain, SurfaceConfig::WinGBottomUp,
                                           SurfaceConfig::WinGTopDown));

TEST_P(Presentation, StretchToAMemoryDcAtOneToOneDoubledAndAnOddSize)
{
    CCanvas canvas(660, 420);
    canvas.UsePalette(*m_pal);
    auto read = [&](int x, int y) { return canvas.At(x, y); };
    const POINT origin{0, 0};
    const SIZE full{320, 200};

    m_dib.StretchTo(&canvas.m_dc, POINT{4, 2}, full, origin, full);
    EXPECT_EQ(CompareStretch(read, 4, 2, 320, 200, 0, 0, 320, 200, true), 0);
    EXPECT_EQ(canvas.At(3, 2), 0xFF00FFu);
    EXPECT_EQ(canvas.At(324, 201), 0xFF00FFu);

    canvas.Clear(0xFF00FF);
    m_dib.StretchTo(&canvas.m_dc, origin, SIZE{640, 400}, origin, full);
    EXPECT_EQ(CompareStretch(read, 0, 0, 640, 400, 0, 0, 320, 200, true), 0);
    EXPECT_EQ(canvas.At(640, 400), 0xFF00FFu);

    canvas.Clear(0xFF00FF);
    m_dib.StretchTo(&canvas.m_dc, POINT{5, 3}, SIZE{487, 311}, origin, full);
    EXPECT_EQ(CompareStretch(read, 5, 3, 487, 311, 0, 0, 320, 200, false), 0);
    EXPECT_EQ(canvas.At(4, 3), 0xFF00FFu);
    EXPECT_EQ(canvas.At(5 + 487, 3 + 311), 0xFF00FFu);
}

TEST_P(Presentation, SourceRectanglesCountRowsFromTheTop)
{
    CCanvas canvas(320, 200);
    canvas.UsePalette(*m_pal);
    auto read = [&](int x, int y) { return canvas.At(x, y); };

    // Source (0, 50) size (320, 100): rows 50 to 149 of the image.
    m_dib.StretchTo(&canvas.m_dc, POINT{0, 0}, SIZE{320, 100}, POINT{0, 50}, SIZE{320, 100});
    EXPECT_EQ(CompareStretch(read, 0, 0, 320, 100, 0, 50, 320, 100, true), 0);
    EXPECT_EQ(canvas.At(0, 100), 0xFF00FFu);

    canvas.Clear(0xFF00FF);
    m_dib.BltTo(&canvas.m_dc, POINT{7, 9}, POINT{10, 20}, SIZE{100, 30});
    EXPECT_EQ(CompareStretch(read, 7, 9, 100, 30, 10, 20, 100, 30, true), 0);

    // Rectangles become sizes as right - left: the inclusive GetRect
    // rectangle copies 319 x 199 pixels.
    canvas.Clear(0xFF00FF);
    RECT rc;
    m_dib.Draw(&canvas.m_dc, m_dib.GetRect(rc), rc);
    EXPECT_EQ(CompareStretch(read, 0, 0, 319, 199, 0, 0, 319, 199, true), 0);
    EXPECT_EQ(canvas.At(319, 0), 0xFF00FFu);
    EXPECT_EQ(canvas.At(0, 199), 0xFF00FFu);

    // The whole-buffer overloads.
    canvas.Clear(0xFF00FF);
    m_dib.Draw(&canvas.m_dc, POINT{0, 0});
    EXPECT_EQ(CompareStretch(read, 0, 0, 320, 200, 0, 0, 320, 200, true), 0);
    // Shrinking needs the DC's stretch mode to drop rows rather than merge
    // them; preparing the DC is the caller's part.
    canvas.Clear(0xFF00FF);
    SetStretchBltMode(canvas.m_dc.m_hDC, COLORONCOLOR);
    m_dib.Draw(&canvas.m_dc, RECT{0, 0, 160, 100});
    EXPECT_EQ(CompareStretch(read, 0, 0, 160, 100, 0, 0, 320, 200, false), 0);
}

TEST_P(Presentation, WinGCopiesAreChosenByWhetherTheRectanglesCoincide)
{
    if (!g_bWinGInUse)
        GTEST_SKIP() << "StretchDIBits engine";
    CCanvas canvas(700, 420);
    canvas.UsePalette(*m_pal);
    BlitSpy spy;
    m_dib.Draw(&canvas.m_dc, 0, 0);
    EXPECT_EQ(BlitSpy::s_nBitBlt, 1);
    EXPECT_EQ(BlitSpy::s_nStretchBlt, 0);

    spy.Reset();
    m_dib.Draw(&canvas.m_dc, 10, 10);   // the source stays at (0, 0)
    EXPECT_EQ(BlitSpy::s_nBitBlt, 0);
    EXPECT_EQ(BlitSpy::s_nStretchBlt, 1);
    const int stretchArgs[8] = {10, 10, 320, 200, 0, 0, 320, 200};
    EXPECT_TRUE(std::equal(stretchArgs, stretchArgs + 8, BlitSpy::s_args));
    EXPECT_EQ(CompareStretch([&](int x, int y) { return canvas.At(x, y); }, 10, 10, 320, 200, 0, 0, 320, 200, true), 0);

    spy.Reset();
    m_dib.StretchTo(&canvas.m_dc, POINT{0, 0}, SIZE{320, 200}, POINT{0, 0}, SIZE{320, 200});
    EXPECT_EQ(BlitSpy::s_nStretchBlt, 1);   // every display size, Normal included
    m_dib.BltTo(&canvas.m_dc, POINT{1, 2}, POINT{3, 4}, SIZE{5, 6});
    EXPECT_EQ(BlitSpy::s_nBitBlt, 1);
    const int bltArgs[6] = {1, 2, 5, 6, 3, 4};
    EXPECT_TRUE(std::equal(bltArgs, bltArgs + 6, BlitSpy::s_args));
}

TEST_P(Presentation, BltToCopiesWhateverBitmapTheSharedDcHolds)
{
    if (!g_bWinGInUse)
        GTEST_SKIP() << "StretchDIBits engine";
    CDibG other;
    other.CreateWithPalette(320, 200, m_pal.get());
    other.Fill(77);
    other.SelectIntoSharedDC();
    ASSERT_FALSE(m_dib.IsSelected());
    CCanvas canvas(320, 200);
    m_dib.BltTo(&canvas.m_dc, POINT{0, 0}, POINT{0, 0}, SIZE{320, 200});
    EXPECT_EQ(canvas.At(100, 100), PaletteRGB(*m_pal, 77));
    // Draw selects its own buffer first.
    m_dib.Draw(&canvas.m_dc, 0, 0);
    EXPECT_TRUE(m_dib.IsSelected());
    EXPECT_FALSE(other.IsSelected());
    EXPECT_EQ(canvas.At(100, 100), Expected(100, 100));
}

TEST_P(Presentation, APrintingDcIsServedThroughTheSharedHeader)
{
    CDibG dib;   // a buffer that was never selected
    dib.CreateWithPalette(320, 200, m_pal.get());
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x)
            dib.SetPixel(x, y, PatternIndex(x, y));
    CCanvas canvas(320, 200);
    canvas.UsePalette(*m_pal);
    canvas.m_dc.m_bPrinting = TRUE;
    std::unique_ptr<BlitSpy> spy;
    BlitSpy::s_nBitBlt = BlitSpy::s_nStretchBlt = 0;
    if (g_bWinGInUse)
        spy = std::make_unique<BlitSpy>();
    const int nLines = dib.DrawDirect(&canvas.m_dc, 0, 0, 320, 200, 0, 0, 320, 200);
    EXPECT_GT(nLines, 0);
    EXPECT_FALSE(dib.IsSelected());
    EXPECT_EQ(BlitSpy::s_nBitBlt + BlitSpy::s_nStretchBlt, 0);
    // Upright in both orientations: top-down rows are taken mirrored.
    EXPECT_EQ(CompareStretch([&](int x, int y) { return canvas.At(x, y); }, 0, 0, 320, 200, 0, 0, 320, 200, true), 0);
    // A part of the image, at 1:1.
    canvas.Clear(0xFF00FF);
    dib.DrawShared(&canvas.m_dc, 3, 4, 100, 60, 20, 30, 100, 60);
    EXPECT_EQ(CompareStretch([&](int x, int y) { return canvas.At(x, y); }, 3, 4, 100, 60, 20, 30, 100, 60, true), 0);
}

TEST_P(Presentation, SharedDrawsOfABufferThatIsNotCreatedDrawNothing)
{
    CDibG empty;
    CCanvas canvas(64, 64);
    EXPECT_EQ(empty.DrawShared(&canvas.m_dc, 0, 0, 64, 64, 0, 0, 64, 64), 0);
    EXPECT_EQ(empty.DrawSharedBottomUp(&canvas.m_dc, RECT{0, 0, 64, 64}), 0);
    for (int y = 0; y < 64; y += 7)
        for (int x = 0; x < 64; x += 7)
            ASSERT_EQ(canvas.At(x, y), 0xFF00FFu);
    // A created buffer through the bottom-up shared header, 1:1.
    canvas.UsePalette(*m_pal);
    CCanvas whole(320, 200);
    whole.UsePalette(*m_pal);
    EXPECT_GT(m_dib.DrawSharedBottomUp(&whole.m_dc, RECT{0, 0, 320, 200}), 0);
    // The header says bottom-up whatever the memory holds: top-down memory
    // comes out upside down.
    const bool bTopDown = g_nOrientation == ORIENT_TOP_DOWN;
    EXPECT_EQ(CompareStretch([&](int x, int y) { return whole.At(x, bTopDown ? 199 - y : y); }, 0, 0, 320, 200, 0, 0,
                             320, 200, true),
              0);
}

// A borderless window at the top left of the screen, above everything.
class CScreenWindow {
public:
    CScreenWindow(int w, int h)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VelmoraSurfaceTestWindow";
        wc.hbrBackground = HBRUSH(GetStockObject(BLACK_BRUSH));
        RegisterClassA(&wc);
        m_hWnd = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "surface test", WS_POPUP | WS_VISIBLE, 0, 0, w, h,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        UpdateWindow(m_hWnd);
        Pump();
    }
    ~CScreenWindow() { DestroyWindow(m_hWnd); }
    static void Pump()
    {
        for (int i = 0; i < 20; ++i) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            Sleep(10);
        }
    }
    HWND m_hWnd;
};

TEST_P(Presentation, StretchToAWindowOnTheScreen)
{
    CScreenWindow window(660, 420);
    ASSERT_NE(window.m_hWnd, nullptr);
    CClientDC dc(window.m_hWnd);
    HPALETTE hOld = dc.SelectPalette(m_pal.get(), FALSE);
    dc.RealizePalette();
    CCanvas shot(660, 420);
    const bool bExactScreen = !ScreenHasPalette();
    // On a palette screen the colours are those of the system palette cells
    // the identity palette was realised into, which Wine's colour allocation
    // only approximates: there the screen must be clearly closer to the
    // buffer than to the buffer turned upside down.
    auto distance = [](uint32_t a, uint32_t b) {
        return std::abs(int(a >> 16) - int(b >> 16)) + std::abs(int((a >> 8) & 0xFF) - int((b >> 8) & 0xFF)) +
               std::abs(int(a & 0xFF) - int(b & 0xFF));
    };
    struct Case {
        SIZE dst;
        int nReach;   // source neighbours an odd stretch may pick
    };
    for (Case c : {Case{SIZE{320, 200}, 0}, Case{SIZE{640, 400}, 0}, Case{SIZE{487, 311}, 1}}) {
        const RECT rcAll{0, 0, 660, 420};
        FillRect(dc.m_hDC, &rcAll, HBRUSH(GetStockObject(BLACK_BRUSH)));
        m_dib.StretchTo(&dc, POINT{0, 0}, c.dst, POINT{0, 0}, SIZE{320, 200});
        GdiFlush();
        CScreenWindow::Pump();
        BitBlt(shot.m_dc.m_hDC, 0, 0, 660, 420, dc.m_hDC, 0, 0, SRCCOPY);
        int64_t nSum = 0, nSumFlipped = 0, nSamples = 0;
        int nExactMisses = 0;
        for (int Y = 0; Y < c.dst.cy; Y += 3) {
            for (int X = 0; X < c.dst.cx; X += 3) {
                const int sx = X * 320 / c.dst.cx, sy = Y * 200 / c.dst.cy;
                const uint32_t actual = shot.At(X, Y);
                int nBest = 1 << 30;
                for (int dy = -c.nReach; dy <= c.nReach; ++dy)
                    for (int dx = -c.nReach; dx <= c.nReach; ++dx)
                        nBest = std::min(nBest, distance(actual, Expected(std::clamp(sx + dx, 0, 319),
                                                                          std::clamp(sy + dy, 0, 199))));
                nSum += nBest;
                nSumFlipped += distance(actual, Expected(sx, 199 - sy));
                ++nSamples;
                if (nBest != 0 && nExactMisses++ < 3 && bExactScreen)
                    ADD_FAILURE() << c.dst.cx << " x " << c.dst.cy << ": screen (" << X << ", " << Y << ") is "
                                  << std::hex << actual << ", buffer (" << std::dec << sx << ", " << sy << ") is "
                                  << std::hex << Expected(sx, sy);
            }
        }
        const int64_t nMean = nSum / nSamples, nMeanFlipped = nSumFlipped / nSamples;
        if (bExactScreen) {
            EXPECT_EQ(nExactMisses, 0) << c.dst.cx << " x " << c.dst.cy;
        } else {
            EXPECT_LT(nMean, 64) << c.dst.cx << " x " << c.dst.cy;
            EXPECT_LT(nMean * 3, nMeanFlipped) << c.dst.cx << " x " << c.dst.cy;
        }
        // Outside the destination the window stays black.
        if (c.dst.cx < 660) {
            EXPECT_EQ(shot.At(c.dst.cx + 2, 5), 0u);
        }
    }
    dc.SelectPalette(hOld, FALSE);
}

}   // namespace
