// Copies from a WinG DC into a 32-bit memory DC: 1:1, doubled and halved,
// with source y = 0 the top row in both orientations.
#include "WinGTestSupport.h"

namespace {

constexpr int32_t kWidth = 7;
constexpr int32_t kHeight = 5;

// Destination pixel (x, y) shows source pixel (sx, sy), or the sentinel
// outside the rectangle (left, top, right, bottom) that the copy covered.
template <typename SourceOf>
void ExpectPicture(const CDest32& dst, int32_t width, int32_t height, RECT covered, SourceOf source)
{
    GdiFlush();
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const bool bInside = x >= covered.left && x < covered.right && y >= covered.top && y < covered.bottom;
            int32_t sx = 0;
            int32_t sy = 0;
            if (bInside)
                source(x, y, &sx, &sy);
            const uint32_t expected = bInside ? TableColor(PatternIndex(sx, sy)) : CDest32::kSentinel;
            ASSERT_EQ(dst.Pixel(x, y), expected) << "destination pixel " << x << "," << y;
        }
    }
}

}   // namespace

TEST(WinGCopy, BitBltCopiesOneToOneWithTheTopRowAtYZero)
{
    REQUIRE_WING();
    const WinGLibrary& wing = TheWinG();
    for (const bool bTopDown : {false, true}) {
        SCOPED_TRACE(bTopDown ? "top-down" : "bottom-up");
        CWinGSource src(kWidth, kHeight, bTopDown);
        ASSERT_TRUE(src.Valid());
        {
            CDest32 dst(12, 9);
            ASSERT_TRUE(dst.Valid());
            EXPECT_TRUE(wing.BitBlt(dst.m_hdc, 3, 2, kWidth, kHeight, src.m_hdc, 0, 0));
            ExpectPicture(dst, 12, 9, {3, 2, 3 + kWidth, 2 + kHeight},
                          [](int32_t x, int32_t y, int32_t* sx, int32_t* sy) {
                              *sx = x - 3;
                              *sy = y - 2;
                          });
        }
        {
            // Part of the image: source (2, 1), 3 x 2, to the corner.
            CDest32 dst(6, 4);
            ASSERT_TRUE(dst.Valid());
            EXPECT_TRUE(wing.BitBlt(dst.m_hdc, 0, 0, 3, 2, src.m_hdc, 2, 1));
            ExpectPicture(dst, 6, 4, {0, 0, 3, 2}, [](int32_t x, int32_t y, int32_t* sx, int32_t* sy) {
                *sx = x + 2;
                *sy = y + 1;
            });
        }
    }
}

TEST(WinGCopy, StretchBltDoublesEachPixelIntoATwoByTwoBlock)
{
    REQUIRE_WING();
    const WinGLibrary& wing = TheWinG();
    for (const bool bTopDown : {false, true}) {
        SCOPED_TRACE(bTopDown ? "top-down" : "bottom-up");
        CWinGSource src(kWidth, kHeight, bTopDown);
        ASSERT_TRUE(src.Valid());
        CDest32 dst(2 * kWidth + 2, 2 * kHeight + 2);
        ASSERT_TRUE(dst.Valid());
        EXPECT_TRUE(wing.StretchBlt(dst.m_hdc, 1, 1, 2 * kWidth, 2 * kHeight, src.m_hdc, 0, 0, kWidth, kHeight));
        ExpectPicture(dst, 2 * kWidth + 2, 2 * kHeight + 2, {1, 1, 1 + 2 * kWidth, 1 + 2 * kHeight},
                      [](int32_t x, int32_t y, int32_t* sx, int32_t* sy) {
                          *sx = (x - 1) / 2;
                          *sy = (y - 1) / 2;
                      });
        // Equal sizes at an offset copy 1:1 as well.
        CDest32 same(kWidth + 10, kHeight + 10);
        ASSERT_TRUE(same.Valid());
        EXPECT_TRUE(wing.StretchBlt(same.m_hdc, 10, 10, kWidth, kHeight, src.m_hdc, 0, 0, kWidth, kHeight));
        ExpectPicture(same, kWidth + 10, kHeight + 10, {10, 10, 10 + kWidth, 10 + kHeight},
                      [](int32_t x, int32_t y, int32_t* sx, int32_t* sy) {
                          *sx = x - 10;
                          *sy = y - 10;
                      });
    }
}

TEST(WinGCopy, StretchBltShrinksByDroppingPixelsAndKeepsTheCallersMode)
{
    REQUIRE_WING();
    const WinGLibrary& wing = TheWinG();
    // A new DC stretches in BLACKONWHITE mode, which would AND the colours of
    // the dropped pixels together; whole source pixels must survive instead.
    CWinGSource src(8, 6, true);
    ASSERT_TRUE(src.Valid());
    CDest32 dst(4, 3);
    ASSERT_TRUE(dst.Valid());
    ASSERT_EQ(SetStretchBltMode(dst.m_hdc, BLACKONWHITE), BLACKONWHITE);
    EXPECT_TRUE(wing.StretchBlt(dst.m_hdc, 0, 0, 4, 3, src.m_hdc, 0, 0, 8, 6));
    GdiFlush();
    int32_t blended = 0;
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            bool bFound = false;
            for (int32_t k = 0; k < 4; ++k)
                bFound = bFound || dst.Pixel(x, y) == TableColor(PatternIndex(2 * x + (k & 1), 2 * y + (k >> 1)));
            blended += bFound ? 0 : 1;
        }
    }
    EXPECT_EQ(blended, 0) << "destination pixels that match none of their source pixels";
    EXPECT_EQ(GetStretchBltMode(dst.m_hdc), BLACKONWHITE) << "the caller's stretch mode is kept";
}
