// The two icon files: one 32 × 32, 16-colour image each, with a mask that
// is transparent exactly where the picture shows its background.
#include "BmpReader.h"
#include <gtest/gtest.h>

using namespace assets_test;

namespace {

struct Icon {
    std::vector<uint8_t> bytes;
    Dib image;
    size_t maskAt = 0;

    bool Transparent(int32_t x, int32_t y) const
    {
        return (bytes[maskAt + size_t(31 - y) * 4 + size_t(x) / 8] >> (7 - x % 8)) & 1;
    }
};

Icon Load(const char* name)
{
    Icon icon;
    icon.bytes = ReadFileBytes(std::string(VELMORA_GENERATED_DIR "/") + name + ".ico");
    EXPECT_TRUE(ParsePackedDib(icon.bytes, 22, 32, icon.image)) << name;
    icon.maskAt = 22 + icon.image.bytesUsed;
    return icon;
}

}   // namespace

TEST(IconFiles, HoldOne32By32SixteenColourImage)
{
    for (const char* name : {"velmora", "maker-logo"}) {
        const Icon icon = Load(name);
        const std::vector<uint8_t>& b = icon.bytes;
        ASSERT_EQ(b.size(), 22u + 40u + 64u + 512u + 128u) << name;
        EXPECT_EQ(Le16(b, 0), 0u);
        EXPECT_EQ(Le16(b, 2), 1u);   // an icon, not a cursor
        EXPECT_EQ(Le16(b, 4), 1u);   // one image
        EXPECT_EQ(b[6], 32u);
        EXPECT_EQ(b[7], 32u);
        EXPECT_EQ(b[8], 16u);
        EXPECT_EQ(Le16(b, 10), 1u);
        EXPECT_EQ(Le16(b, 12), 4u);
        EXPECT_EQ(Le32(b, 14), 744u);
        EXPECT_EQ(Le32(b, 18), 22u);
        EXPECT_EQ(icon.image.width, 32);
        EXPECT_EQ(icon.image.height, 64);   // colour image and mask
        EXPECT_EQ(icon.image.bitCount, 4u);
        EXPECT_EQ(icon.image.table.size(), 16u);
        // Transparent pixels are black in the colour image, so that the
        // mask's AND and the image's XOR leave the screen untouched.
        for (int32_t y = 0; y < 32; ++y) {
            for (int32_t x = 0; x < 32; ++x) {
                if (icon.Transparent(x, y)) {
                    EXPECT_EQ(icon.image.At(x, y), 0u) << name << " at " << x << ", " << y;
                }
            }
        }
    }
}

TEST(IconFiles, ProgramIconIsAWhiteStarOnAnOpaqueStarfield)
{
    const Icon icon = Load("velmora");
    size_t white = 0, lit = 0, black = 0;
    for (int32_t y = 0; y < 32; ++y) {
        for (int32_t x = 0; x < 32; ++x) {
            EXPECT_FALSE(icon.Transparent(x, y)) << "at " << x << ", " << y;
            white += icon.image.At(x, y) == 15;
            lit += icon.image.At(x, y) == 15 || icon.image.At(x, y) == 7;
            black += icon.image.At(x, y) == 0;
        }
    }
    EXPECT_GT(lit, 250u);   // a large star, white with light-grey facets
    EXPECT_GT(white, 100u);
    EXPECT_GT(black, 400u);                  // on a black sky
    EXPECT_EQ(icon.image.At(16, 16), 15u);   // the star is in the middle
}

TEST(IconFiles, MakerLogoIsRoundWithTransparentCorners)
{
    const Icon icon = Load("maker-logo");
    for (auto [x, y] : {std::pair{0, 0}, std::pair{31, 0}, std::pair{0, 31}, std::pair{31, 31}})
        EXPECT_TRUE(icon.Transparent(x, y)) << "corner " << x << ", " << y;
    EXPECT_FALSE(icon.Transparent(16, 16));
    EXPECT_FALSE(icon.Transparent(16, 1));
}
