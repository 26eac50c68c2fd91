// Loading frame buffers from bitmap resources: the program's "VELMORA"
// picture and the small PATTERN bitmap of this folder, whose pixels are
// known, in each surface configuration.
#include "SurfaceTestSupport.h"
#include <gtest/gtest.h>

namespace {

class ResourceLoad : public ::testing::TestWithParam<SurfaceConfig> {
protected:
    void SetUp() override { ASSERT_TRUE(ConfigureSurface(GetParam())) << ConfigName(GetParam()); }
    void TearDown() override { ResetDisplaySurfaceForTesting(); }
};

INSTANTIATE_TEST_SUITE_P(Configs, ResourceLoad,
                         ::testing::Values(SurfaceConfig::Plain, SurfaceConfig::WinGBottomUp,
                                           SurfaceConfig::WinGTopDown));

uint32_t Rgb(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }

TEST_P(ResourceLoad, VelmoraGivesItsColourTableAndAnIdentityPalette)
{
    CPalId pal;
    CDibG dib;
    dib.Load("VELMORA", &pal, SOURCE_RESOURCE);
    ASSERT_TRUE(dib.IsCreated());
    EXPECT_EQ(dib.GetWidth(), 320);
    EXPECT_EQ(dib.GetHeight(), 200);
    EXPECT_TRUE(pal.IsCreated());
    ASSERT_NE(pal.m_hObject, nullptr);
    for (DWORD i = 0; i < dib.GetImageSize(); ++i)
        ASSERT_EQ(dib.GetBits()[i], 0);

    static const uint32_t kStatics[20] = {
        Rgb(0, 0, 0),       Rgb(128, 0, 0),     Rgb(0, 128, 0),     Rgb(128, 128, 0),   Rgb(0, 0, 128),
        Rgb(128, 0, 128),   Rgb(0, 128, 128),   Rgb(192, 192, 192), Rgb(192, 220, 192), Rgb(164, 200, 240),
        Rgb(255, 251, 240), Rgb(160, 160, 164), Rgb(128, 128, 128), Rgb(255, 0, 0),     Rgb(0, 255, 0),
        Rgb(255, 255, 0),   Rgb(0, 0, 255),     Rgb(255, 0, 255),   Rgb(0, 255, 255),   Rgb(255, 255, 255)};
    PALETTEENTRY system[256] = {};
    const bool bPaletteScreen = ScreenHasPalette();
    if (bPaletteScreen) {
        HDC hdc = GetDC(nullptr);
        GetSystemPaletteEntries(hdc, 0, 256, system);
        ReleaseDC(nullptr, hdc);
    }
    PALETTEENTRY entries[256] = {};
    ASSERT_EQ(GetPaletteEntries(HPALETTE(pal.m_hObject), 0, 256, entries), 256u);
    for (int i = 0; i < 256; ++i) {
        const uint32_t actual = Rgb(entries[i].peRed, entries[i].peGreen, entries[i].peBlue);
        if (i >= 10 && i <= 245) {
            // floor(255 - (i - 10) * 254 / 235), exactly: entry 11 is 253.
            const int v = (255 * 235 - (i - 10) * 254) / 235;
            EXPECT_EQ(actual, Rgb(v, v, v)) << "entry " << i;
            EXPECT_EQ(entries[i].peFlags, bPaletteScreen ? PC_RESERVED : 0) << "entry " << i;
        } else if (bPaletteScreen) {
            EXPECT_EQ(actual, Rgb(system[i].peRed, system[i].peGreen, system[i].peBlue)) << "entry " << i;
        } else {
            EXPECT_EQ(actual, kStatics[i < 10 ? i : i - 236]) << "entry " << i;
        }
    }
    // The buffer's own table: the palette's colours, or the indices.
    if (!g_bWinGInUse && g_nColorUse == DIB_PAL_COLORS) {
        EXPECT_EQ(reinterpret_cast<const WORD*>(dib.m_colors)[200], 200);
    } else {
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(Rgb(dib.m_colors[i].rgbRed, dib.m_colors[i].rgbGreen, dib.m_colors[i].rgbBlue),
                      PaletteRGB(pal, i))
                << "entry " << i;
    }
}

TEST_P(ResourceLoad, TheResourcesTopRowIsRowZeroInEveryOrientation)
{
    CPalId pal;
    CDibG dib;
    dib.LoadResourceBitmap("PATTERN", &pal);
    ASSERT_EQ(dib.GetWidth(), 7);
    ASSERT_EQ(dib.GetHeight(), 5);
    EXPECT_EQ(dib.GetPitch(), 8);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(dib.GetPixel(x, y), y * 16 + x + 1) << x << ", " << y;
    EXPECT_EQ(dib.GetBits()[0], g_nOrientation == ORIENT_TOP_DOWN ? 1 : 4 * 16 + 1);

    // A reload of the same size replaces the pixels in place.
    BYTE* pBits = dib.GetBits();
    dib.Fill(0);
    dib.Reload("PATTERN", &pal, SOURCE_RESOURCE);
    EXPECT_EQ(dib.GetBits(), pBits);
    EXPECT_EQ(dib.GetPixel(6, 4), 4 * 16 + 7);
}

TEST_P(ResourceLoad, FailuresRaiseTheResourceExceptionAndOtherCodesDoNothing)
{
    CPalId pal;
    CDibG dib;
    dib.Load("VELMORA", &pal, 3);
    EXPECT_FALSE(dib.IsCreated());
    EXPECT_FALSE(pal.IsCreated());

    auto raisesResource = [](auto&& action) {
        bool bResource = false;
        try {
            action();
        } catch (CException* e) {
            bResource = e->IsKindOf(RUNTIME_CLASS(CResourceException));
            e->Delete();
        }
        return bResource;
    };
    EXPECT_TRUE(raisesResource([&] { dib.Load("NO-SUCH-BITMAP", &pal, SOURCE_RESOURCE); }));
    EXPECT_FALSE(dib.IsCreated());
    // A module without the resource.
    dib.SetResourceModule(GetModuleHandleA("kernel32.dll"));
    EXPECT_EQ(dib.GetResourceModule(), GetModuleHandleA("kernel32.dll"));
    EXPECT_TRUE(raisesResource([&] { dib.LoadResourceBitmap("VELMORA", &pal); }));
    dib.SetResourceModule(nullptr);
    EXPECT_EQ(dib.GetResourceModule(), GetModuleHandleA(nullptr));

    // Loading into a created buffer of another size never writes past it.
    dib.Create(4, 4, &pal);
    dib.Fill(9);
    EXPECT_TRUE(raisesResource([&] { dib.LoadResourceBitmap("PATTERN", &pal); }));
    EXPECT_TRUE(raisesResource([&] { dib.ReloadResourceBitmap("PATTERN", &pal); }));
    EXPECT_EQ(dib.GetPixel(3, 3), 9);
    // The file loaders are not available: they refuse loudly.
    EXPECT_TRUE(raisesResource([&] { dib.Reload("x.bmp", &pal, SOURCE_BMP_FILE); }));
}

}   // namespace
