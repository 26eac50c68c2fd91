// The identity build on the display the test runs on: the 8-bit PseudoColor
// screen (a 256-entry hardware palette with 20 static colours) or the
// 24-bit screen (no hardware palette).
#include "PaletteTestSupport.h"
#include <cstdio>

namespace {

using IdentityOnThisDisplay = PaletteHooks;

// A small visible window to realise palettes in.
class CTestWindow {
public:
    CTestWindow()
        : m_hWnd(::CreateWindowExA(0, "STATIC", "palette", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr))
    {}
    ~CTestWindow()
    {
        if (m_hWnd)
            ::DestroyWindow(m_hWnd);
    }
    HWND m_hWnd;
};

}   // namespace

TEST(PaletteScreen, TheScreenIsTheOneTheTestCommandAskedFor)
{
    HDC ic = ::CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_NE(ic, nullptr);
    const int raster = ::GetDeviceCaps(ic, RASTERCAPS);
    const int size = ::GetDeviceCaps(ic, SIZEPALETTE);
    const int reserved = ::GetDeviceCaps(ic, NUMRESERVED);
    const int bits = ::GetDeviceCaps(ic, BITSPIXEL);
    ::DeleteDC(ic);
    std::printf("screen %s: RASTERCAPS %#x, SIZEPALETTE %d, NUMRESERVED %d, %d bits per pixel\n",
                RequestedScreen().c_str(), raster, size, reserved, bits);
    if (RequestedScreen() == "8") {
        EXPECT_TRUE(raster & RC_PALETTE);
        EXPECT_EQ(size, 256);
        EXPECT_EQ(reserved, 20);
        EXPECT_EQ(bits, 8);
    } else if (RequestedScreen() == "24") {
        EXPECT_FALSE(raster & RC_PALETTE);
    }
}

TEST_F(IdentityOnThisDisplay, StaticColoursAtTheEndsAndTheSourceReservedBetween)
{
    const Entries src = SourceColors();
    const auto quads = AsQuads(src);
    CPalId pal;
    pal.CreateFromRGBQuad(quads.data(), TRUE);
    ASSERT_TRUE(pal.IsCreated());
    ASSERT_NE(pal.m_hObject, nullptr);
    const Entries log = ReadEntries(pal);

    Entries expected = src;
    if (DisplayHasPalette()) {
        EXPECT_EQ(s_nClears, 1);
        UINT n = 0;
        const Entries sys = ReadSystemPalette(&n);
        ASSERT_EQ(n, 256u);
        for (int i = 0; i < 10; ++i) {
            expected[i] = PALETTEENTRY{sys[i].peRed, sys[i].peGreen, sys[i].peBlue, 0};
            expected[246 + i] = PALETTEENTRY{sys[246 + i].peRed, sys[246 + i].peGreen, sys[246 + i].peBlue, 0};
        }
        for (int i = 10; i < 246; ++i)
            expected[i].peFlags = PC_RESERVED;
        // The static colours really are the display's, not the source's.
        EXPECT_FALSE(SameColor(log[0], src[0]) && SameColor(log[255], src[255]));
    } else {
        EXPECT_EQ(s_nClears, 0);
    }
    for (int i = 0; i < 256; ++i)
        EXPECT_TRUE(SameEntry(log[i], expected[i])) << "entry " << i;

    std::array<RGBQUAD, 256> out{};
    ASSERT_TRUE(pal.GetRGBQuads(out.data()));
    const auto want = AsQuads(expected);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(out[i].rgbRed, want[i].rgbRed) << "entry " << i;
        EXPECT_EQ(out[i].rgbGreen, want[i].rgbGreen) << "entry " << i;
        EXPECT_EQ(out[i].rgbBlue, want[i].rgbBlue) << "entry " << i;
        EXPECT_EQ(out[i].rgbReserved, 0) << "entry " << i;
    }
}

TEST_F(IdentityOnThisDisplay, WithoutIdentitySourceStaysAndSystemPaletteIsNotEmptied)
{
    const Entries src = SourceColors();
    CPalId pal;
    pal.CreateFromRGBQuad(AsQuads(src).data(), FALSE);
    const Entries log = ReadEntries(pal);
    for (int i = 0; i < 256; ++i)
        EXPECT_TRUE(SameEntry(log[i], src[i])) << "entry " << i;
    EXPECT_EQ(s_nClears, 0);
}

TEST_F(IdentityOnThisDisplay, RealisedInAWindowEveryEntryIsMapped)
{
    if (!DisplayHasPalette())
        GTEST_SKIP() << "no hardware palette on this screen";
    const Entries src = SourceColors();
    CPalId pal;
    pal.CreateFromRGBQuad(AsQuads(src).data(), TRUE);
    const Entries log = ReadEntries(pal);

    CTestWindow wnd;
    ASSERT_NE(wnd.m_hWnd, nullptr);
    HDC hdc = ::GetDC(wnd.m_hWnd);
    ASSERT_NE(hdc, nullptr);
    HPALETTE hOld = ::SelectPalette(hdc, HPALETTE(pal.m_hObject), FALSE);
    ASSERT_NE(hOld, nullptr);
    const UINT realised = ::RealizePalette(hdc);
    PALETTEENTRY sys[256] = {};
    const UINT n = ::GetSystemPaletteEntries(hdc, 0, 256, sys);
    ::SelectPalette(hdc, hOld, FALSE);
    ::ReleaseDC(wnd.m_hWnd, hdc);

    // Wine maps all 256 entries on the first foreground realisation after
    // the system palette was emptied.
    EXPECT_EQ(realised, 256u);
    ASSERT_EQ(n, 256u);
    int sameIndex = 0;
    for (int i = 0; i < 256; ++i)
        sameIndex += SameColor(sys[i], log[i]);
    // The static colours sit at their own indices; the allocation of the
    // others is the display's (Wine moves most of them a few cells).
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(SameColor(sys[i], log[i])) << "entry " << i;
        EXPECT_TRUE(SameColor(sys[246 + i], log[246 + i])) << "entry " << 246 + i;
    }
    std::printf("RealizePalette: %u; system palette entries equal to the logical entry at the same index: %d of 256\n",
                realised, sameIndex);
    std::printf("system palette after realisation (index: red green blue):");
    for (int i = 0; i < 256; ++i)
        std::printf("%s%d:%02x%02x%02x", i % 8 ? " " : "\n  ", i, sys[i].peRed, sys[i].peGreen, sys[i].peBlue);
    std::printf("\n");
}

TEST_F(IdentityOnThisDisplay, EmptyingTheSystemPaletteKeepsTheStaticColours)
{
    UINT n = 0;
    const Entries before = ReadSystemPalette(&n);
    CPalId::ClearSystemPalette();
    const Entries after = ReadSystemPalette(&n);
    if (!DisplayHasPalette()) {
        EXPECT_EQ(n, 0u);
        return;
    }
    ASSERT_EQ(n, 256u);
    int black = 0;
    for (int i = 0; i < 256; ++i) {
        const bool isStatic = i < 10 || i >= 246;
        if (isStatic) {
            EXPECT_TRUE(SameColor(after[i], before[i])) << "static entry " << i;
        } else {
            black += after[i].peRed == 0 && after[i].peGreen == 0 && after[i].peBlue == 0;
        }
    }
    std::printf("non-static system entries black after emptying: %d of 236\n", black);
}

TEST_F(IdentityOnThisDisplay, BuildFromTheSystemPalette)
{
    CPalId plain;
    plain.CreateFromSystem(FALSE);
    ASSERT_TRUE(plain.IsCreated());
    const Entries log = ReadEntries(plain);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(log[i].peFlags, 0) << "entry " << i;
    EXPECT_EQ(s_nClears, 0);
    if (!DisplayHasPalette())
        return;
    const Entries sys = ReadSystemPalette();
    for (int i = 0; i < 256; ++i)
        EXPECT_TRUE(SameColor(log[i], sys[i])) << "entry " << i;

    CPalId identity;
    identity.CreateFromSystem(TRUE);
    EXPECT_EQ(s_nClears, 1);
    const Entries id = ReadEntries(identity);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(id[i].peFlags, (i >= 10 && i < 246) ? PC_RESERVED : 0) << "entry " << i;
}
