// Buffer-to-buffer copies, rectangle copies, block puts, the vertical flip
// and the colour lookups, in each surface configuration.
#include "SurfaceTestSupport.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

class PixelOps : public ::testing::TestWithParam<SurfaceConfig> {
protected:
    void SetUp() override { ASSERT_TRUE(ConfigureSurface(GetParam())) << ConfigName(GetParam()); }
    void TearDown() override { ResetDisplaySurfaceForTesting(); }

    static void Number(CDibG& dib, int nBase)
    {
        for (int y = 0; y < dib.GetHeight(); ++y)
            for (int x = 0; x < dib.GetWidth(); ++x)
                dib.SetPixel(x, y, BYTE(nBase + y * 16 + x));
    }
};

INSTANTIATE_TEST_SUITE_P(Configs, PixelOps,
                         ::testing::Values(SurfaceConfig::Plain, SurfaceConfig::WinGBottomUp,
                                           SurfaceConfig::WinGTopDown));

TEST_P(PixelOps, RectangleCopiesOnTheWordAndByteBothGiveTheSamePixels)
{
    CDibG src, word, byte;
    src.Create(16, 8, nullptr);
    Number(src, 1);
    for (CDibG* p : {&word, &byte}) {
        p->Create(16, 8, nullptr);
        p->Fill(0xEE);
    }
    word.CopyRect(&src, POINT{4, 1}, POINT{8, 3}, SIZE{8, 4});   // all multiples of 4
    byte.CopyRect(&src, POINT{2, 1}, POINT{8, 3}, SIZE{8, 4});   // source x 2
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool bInside = x >= 8 && y >= 3 && y < 7;
            EXPECT_EQ(word.GetPixel(x, y), bInside ? src.GetPixel(x - 4, y - 2) : 0xEE) << x << ", " << y;
            EXPECT_EQ(byte.GetPixel(x, y), bInside ? src.GetPixel(x - 6, y - 2) : 0xEE) << x << ", " << y;
        }
    }
    // Height 0 copies nothing on either path.
    word.CopyRect(&src, POINT{0, 0}, POINT{0, 0}, SIZE{8, 0});
    byte.CopyRect(&src, POINT{1, 0}, POINT{0, 0}, SIZE{7, 0});
    EXPECT_EQ(word.GetPixel(0, 0), 0xEE);
    EXPECT_EQ(byte.GetPixel(0, 0), 0xEE);
}

TEST_P(PixelOps, TransparentCopiesSkipIndexZero)
{
    CDibG src, dst;
    src.Create(8, 2, nullptr);
    dst.Create(8, 2, nullptr);
    const BYTE row[8] = {0, 5, 0, 7, 1, 2, 3, 4};   // one word with zeros, one without
    src.PutBytes(row, SIZE{8, 1}, POINT{0, 0});
    src.PutBytes(row, SIZE{8, 1}, POINT{0, 1});
    for (POINT srcAt : {POINT{0, 0}, POINT{1, 0}}) {   // word path, then byte path
        dst.Fill(9);
        const int n = srcAt.x == 0 ? 8 : 7;
        dst.CopyRectTransparent(&src, srcAt, POINT{0, 0}, SIZE{n, 2});
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < n; ++x)
                EXPECT_EQ(dst.GetPixel(x, y), row[x + srcAt.x] ? row[x + srcAt.x] : 9) << x << ", " << y;
    }
}

TEST_P(PixelOps, PutBytesFlipCopyAndAssign)
{
    CDibG dib;
    dib.Create(5, 3, nullptr);
    dib.Fill(0);
    const BYTE block[6] = {1, 2, 3, 4, 5, 6};   // packed rows of 3
    dib.PutBytes(block, SIZE{3, 2}, POINT{1, 1});
    EXPECT_EQ(dib.GetPixel(1, 1), 1);
    EXPECT_EQ(dib.GetPixel(3, 2), 6);
    EXPECT_EQ(dib.GetPixel(0, 1), 0);

    dib.FlipVertical();   // 3 rows: 0 and 2 swap, 1 stays
    EXPECT_EQ(dib.GetPixel(3, 0), 6);
    EXPECT_EQ(dib.GetPixel(1, 1), 1);
    EXPECT_EQ(dib.GetPixel(3, 2), 0);
    CDibG empty;
    empty.FlipVertical();   // not created: nothing

    CDibG copy;
    dib.m_colors[3] = RGBQUAD{1, 2, 3, 0};
    copy.CopyFrom(&dib);   // creates the copy first
    ASSERT_TRUE(copy.IsCreated());
    EXPECT_EQ(copy.GetPixel(3, 0), 6);
    EXPECT_EQ(copy.m_colors[3].rgbRed, 3);
    copy.Copy(&copy, TRUE);   // itself: nothing

    CDibG other;
    other.Create(6, 3, nullptr);
    other.Fill(4);
    EXPECT_EQ(&other.Assign(dib), &other);   // other size: unchanged
    EXPECT_EQ(other.GetPixel(3, 0), 4);
    EXPECT_EQ(&copy.Assign(other), &copy);
    EXPECT_EQ(copy.GetPixel(3, 0), 6);
}

TEST_P(PixelOps, RectanglesNotWhollyInsideBothBuffersCopyNothing)
{
    CDibG src, dst;
    src.Create(8, 4, nullptr);
    src.Fill(5);
    dst.Create(8, 4, nullptr);
    dst.Fill(9);
    const BYTE bytes[64] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    struct Place {
        SIZE size;
        POINT src, dst;
        bool bPut = true;   // false where only the source reaches out: the block put has none
    };
    // Widths and counts below 0 or beyond the 8 x 4 buffers, on the word
    // (multiples of 4) and the byte paths; then sizes that fit, placed so
    // that they reach past an edge of the source, the destination or both.
    std::vector<Place> places;
    for (SIZE size : {SIZE{-1, 1}, SIZE{-4, 2}, SIZE{INT32_MIN, 1}, SIZE{9, 1}, SIZE{12, 1}, SIZE{1, -1}, SIZE{4, -4},
                      SIZE{1, 5}, SIZE{4, 8}})
        places.push_back({size, {0, 0}, {0, 0}});
    for (POINT out : {POINT{1, 0}, POINT{0, 1}, POINT{-1, 0}, POINT{0, -1}, POINT{INT32_MAX, 0}, POINT{0, INT32_MAX},
                      POINT{INT32_MIN, 0}}) {
        places.push_back({SIZE{8, 4}, out, POINT{0, 0}, false});
        places.push_back({SIZE{8, 4}, POINT{0, 0}, out});
    }
    places.push_back({SIZE{4, 2}, POINT{0, 0}, POINT{5, 0}});
    places.push_back({SIZE{4, 2}, POINT{0, 0}, POINT{0, 3}});
    places.push_back({SIZE{3, 2}, POINT{6, 0}, POINT{0, 0}, false});
    for (const Place& p : places) {
        if (p.bPut) {
            dst.PutBytes(bytes, p.size, p.dst);
            dst.PutBytesReserved(bytes, p.size, p.dst);
        }
        dst.CopyRect(&src, p.src, p.dst, p.size);
        dst.CopyRectTransparent(&src, p.src, p.dst, p.size);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x)
                ASSERT_EQ(dst.GetPixel(x, y), 9) << p.size.cx << " x " << p.size.cy << " from " << p.src.x << ", "
                                                 << p.src.y << " to " << p.dst.x << ", " << p.dst.y;
    }
}

TEST_P(PixelOps, ColourLookupsSearchEntriesOneToTwoHundredFiftyFive)
{
    RGBQUAD quads[256];
    for (int i = 0; i < 256; ++i)
        quads[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
    quads[0] = RGBQUAD{1, 2, 250, 0};   // only at entry 0
    quads[40] = quads[41] = RGBQUAD{0, 0, 200, 0};
    CPalId pal;
    pal.CreateFromRGBQuad(quads, FALSE);   // no identity folding: colours as given
    CDibG dib;
    dib.CreateWithPalette(4, 4, &pal);
    EXPECT_EQ(dib.FindColor(RGBTRIPLE{0, 0, 200}), 40);   // lowest exact entry
    EXPECT_EQ(dib.FindColor(RGBTRIPLE{77, 77, 77}), 77);
    EXPECT_NE(dib.FindColor(RGBTRIPLE{1, 2, 250}), 0);       // never entry 0
    EXPECT_EQ(dib.NearestColor(RGBTRIPLE{0, 0, 190}), 40);   // tie goes to the lower index
    EXPECT_EQ(dib.NearestColor(RGBTRIPLE{100, 101, 102}), 101);
    dib.FillRGB(RGBTRIPLE{0, 0, 201});
    EXPECT_EQ(dib.GetPixel(3, 3), 40);
}

}   // namespace
