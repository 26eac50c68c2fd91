// The halftone palette and the brushes dithered to its colours.
#include "WinGTestSupport.h"

#include <cstdlib>
#include <set>
#include <sstream>
#include <vector>

namespace {

std::vector<PALETTEENTRY> Entries(HPALETTE hpal)
{
    std::vector<PALETTEENTRY> entries(256);
    entries.resize(GetPaletteEntries(hpal, 0, 256, entries.data()));
    return entries;
}

uint32_t Rgb32(const PALETTEENTRY& e) { return (uint32_t(e.peRed) << 16) | (uint32_t(e.peGreen) << 8) | e.peBlue; }

struct BrushFill {
    std::set<uint32_t> colors;
    int32_t sum[3] = {};   // red, green, blue over the 16 x 16 pixels
};

// Paints a 16 x 16 area with the brush and collects what it shows.
BrushFill Paint(HBRUSH hbr)
{
    BrushFill fill;
    CDest32 dst(16, 16);
    EXPECT_TRUE(dst.Valid());
    RECT r = {0, 0, 16, 16};
    EXPECT_NE(FillRect(dst.m_hdc, &r, hbr), 0);
    GdiFlush();
    for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 0; x < 16; ++x) {
            const uint32_t p = dst.Pixel(x, y);
            fill.colors.insert(p);
            fill.sum[0] += int32_t(p >> 16);
            fill.sum[1] += int32_t((p >> 8) & 0xFF);
            fill.sum[2] += int32_t(p & 0xFF);
        }
    }
    return fill;
}

}   // namespace

TEST(WinGHalftone, PaletteSpansBlackWhiteAndThePrimaries)
{
    REQUIRE_WING();
    HPALETTE hpal = TheWinG().CreateHalftonePalette();
    ASSERT_NE(hpal, nullptr);
    const std::vector<PALETTEENTRY> entries = Entries(hpal);
    DeleteObject(hpal);
    std::set<uint32_t> colors;
    for (const PALETTEENTRY& e : entries)
        colors.insert(Rgb32(e));
    EXPECT_EQ(entries.size(), 256u);
    for (const uint32_t c : {0x000000u, 0xFFFFFFu, 0xFF0000u, 0x00FF00u, 0x0000FFu})
        EXPECT_EQ(colors.count(c), 1u) << std::hex << "colour " << c;
    EXPECT_GE(colors.size(), 216u) << "distinct colours";
}

TEST(WinGHalftone, BrushesAverageToTheColourUsingHalftoneColours)
{
    REQUIRE_WING();
    const WinGLibrary& wing = TheWinG();
    HPALETTE hpal = wing.CreateHalftonePalette();
    ASSERT_NE(hpal, nullptr);
    std::set<uint32_t> halftone;
    for (const PALETTEENTRY& e : Entries(hpal))
        halftone.insert(Rgb32(e));
    DeleteObject(hpal);

    std::ostringstream difference;
    for (const int type : {WING_DISPERSED_4x4, WING_DISPERSED_8x8, WING_CLUSTERED_4x4}) {
        SCOPED_TRACE(type);
        // A colour between the halftone levels is dithered from several.
        HBRUSH hbr = wing.CreateHalftoneBrush(nullptr, RGB(100, 150, 200), type);
        ASSERT_NE(hbr, nullptr);
        const BrushFill mixed = Paint(hbr);
        DeleteObject(hbr);
        if (mixed.colors.size() < 2)
            difference << "dither type " << type << " paints " << mixed.colors.size() << " colour(s), not a dither; ";
        for (const uint32_t c : mixed.colors) {
            if (halftone.count(c) == 0) {
                difference << "dither type " << type << " paints " << std::hex << c << std::dec
                           << ", which is not a halftone colour; ";
                break;
            }
        }
        const int32_t target[3] = {100, 150, 200};
        for (int i = 0; i < 3; ++i) {
            if (std::abs(mixed.sum[i] / 256 - target[i]) > 8)
                difference << "dither type " << type << " averages " << mixed.sum[i] / 256 << " in channel " << i
                           << " for " << target[i] << "; ";
        }
        // A halftone colour itself comes out solid.
        hbr = wing.CreateHalftoneBrush(nullptr, RGB(255, 0, 0), type);
        ASSERT_NE(hbr, nullptr);
        const BrushFill solid = Paint(hbr);
        DeleteObject(hbr);
        EXPECT_EQ(solid.colors.size(), 1u);
        EXPECT_EQ(solid.colors.count(0xFF0000u), 1u);
    }
    EXPECT_SAME_OR_RECORD(difference.str());
}

TEST(WinGHalftone, PaletteIndexColoursAreLookedUpInTheDCsPalette)
{
    REQUIRE_WING();
    const WinGLibrary& wing = TheWinG();
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[4];
    } log = {0x300, 4, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 255, 0}}};
    HPALETTE hpal = CreatePalette(reinterpret_cast<LOGPALETTE*>(&log));
    ASSERT_NE(hpal, nullptr);
    CDest32 dc(1, 1);
    ASSERT_TRUE(dc.Valid());
    HPALETTE old = SelectPalette(dc.m_hdc, hpal, FALSE);

    std::ostringstream difference;
    HBRUSH hbr = wing.CreateHalftoneBrush(dc.m_hdc, PALETTEINDEX(3), WING_DISPERSED_8x8);
    if (hbr) {
        const BrushFill fill = Paint(hbr);
        if (fill.colors.size() != 1 || fill.colors.count(0x0000FFu) != 1)
            difference << "a brush of palette entry 3 (blue) paints " << fill.colors.size() << " colours, first "
                       << std::hex << *fill.colors.begin() << "; ";
        DeleteObject(hbr);
    } else {
        difference << "no brush for a palette index; ";
    }
    SelectPalette(dc.m_hdc, old, FALSE);
    DeleteObject(hpal);

    // Without a DC there is no palette to look the index up in, and an
    // unknown dither pattern has no brush.
    hbr = wing.CreateHalftoneBrush(nullptr, PALETTEINDEX(3), WING_DISPERSED_8x8);
    if (hbr) {
        difference << "a brush for a palette index without a DC; ";
        DeleteObject(hbr);
    }
    hbr = wing.CreateHalftoneBrush(nullptr, RGB(1, 2, 3), 7);
    if (hbr) {
        difference << "a brush for dither pattern 7; ";
        DeleteObject(hbr);
    }
    EXPECT_SAME_OR_RECORD(difference.str());
}
