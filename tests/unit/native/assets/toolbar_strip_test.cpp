// The toolbar's image strip as generated from the picture sources: its
// format, its blank tail, and pictures that match what each button shows.
#include "BmpReader.h"
#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <set>

using namespace assets_test;

namespace {

enum : uint8_t {
    kBlack = 0,
    kLightGrey = 7,
    kDarkGrey = 8,
    kRed = 9,
    kYellow = 11,
    kBlue = 12,
    kCyan = 14,
    kWhite = 15
};

class ToolbarStrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        bytes = ReadFileBytes(VELMORA_GENERATED_DIR "/toolbar.bmp");
        ASSERT_GT(bytes.size(), 14u);
        ASSERT_TRUE(ParsePackedDib(bytes, 14, 32, strip));
    }

    // Picture n as 32 × 32 indices.
    std::vector<uint8_t> Picture(int n) const
    {
        std::vector<uint8_t> p;
        for (int32_t y = 0; y < 32; ++y)
            for (int32_t x = 0; x < 32; ++x)
                p.push_back(strip.At(n * 32 + x, y));
        return p;
    }
    size_t Count(int n, uint8_t colour) const
    {
        const std::vector<uint8_t> p = Picture(n);
        return size_t(std::count(p.begin(), p.end(), colour));
    }
    // Connected groups (4-neighbourhood) of pixels whose colour is in `set`.
    size_t Groups(int n, const std::set<uint8_t>& set) const
    {
        std::vector<uint8_t> p = Picture(n);
        size_t groups = 0;
        for (size_t start = 0; start < p.size(); ++start) {
            if (!set.count(p[start]))
                continue;
            ++groups;
            std::vector<size_t> todo{start};
            p[start] = 0xFF;
            while (!todo.empty()) {
                const size_t i = todo.back();
                todo.pop_back();
                const int32_t x = int32_t(i % 32), y = int32_t(i / 32);
                const std::array<std::pair<int32_t, int32_t>, 4> next{{{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}}};
                for (auto [nx, ny] : next) {
                    if (nx < 0 || ny < 0 || nx > 31 || ny > 31)
                        continue;
                    const size_t j = size_t(ny) * 32 + size_t(nx);
                    if (set.count(p[j])) {
                        p[j] = 0xFF;
                        todo.push_back(j);
                    }
                }
            }
        }
        return groups;
    }

    std::vector<uint8_t> bytes;
    Dib strip;
};

}   // namespace

TEST_F(ToolbarStrip, Is606By32FourBitWithTheStandardPalette)
{
    EXPECT_EQ(Le32(bytes, 2), bytes.size());
    EXPECT_EQ(strip.headerSize, 40u);
    EXPECT_EQ(strip.width, 606);
    EXPECT_EQ(strip.height, 32);
    EXPECT_EQ(strip.planes, 1u);
    EXPECT_EQ(strip.bitCount, 4u);
    EXPECT_EQ(strip.compression, 0u);
    EXPECT_EQ(bytes.size(), 14u + 40u + 64u + 304u * 32u);   // 606 pixels pack into 304-byte rows
    const std::array<uint32_t, 16> standard = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                               0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                               0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    ASSERT_EQ(strip.table.size(), 16u);
    for (size_t i = 0; i < 16; ++i)
        EXPECT_EQ(strip.table[i], standard[i]) << "entry " << i;
}

TEST_F(ToolbarStrip, LastSixtyTwoColumnsAreBlankLightGrey)
{
    for (int32_t y = 0; y < 32; ++y)
        for (int32_t x = 544; x < 606; ++x)
            ASSERT_EQ(strip.At(x, y), kLightGrey) << "at " << x << ", " << y;
}

TEST_F(ToolbarStrip, EveryPictureIsDrawnAndNoTwoAreAlike)
{
    std::set<std::vector<uint8_t>> seen;
    for (int n = 0; n < 17; ++n) {
        const std::vector<uint8_t> p = Picture(n);
        const std::set<uint8_t> colours(p.begin(), p.end());
        EXPECT_GE(colours.size(), 3u) << "picture " << n;
        EXPECT_GE(p.size() - Count(n, kLightGrey), 60u) << "picture " << n;
        EXPECT_TRUE(seen.insert(p).second) << "picture " << n << " repeats an earlier one";
    }
}

TEST_F(ToolbarStrip, PicturesShowWhatTheirButtonsDo)
{
    // Exit: the word on cyan.
    EXPECT_GT(Count(0, kCyan), 300u);
    EXPECT_GT(Count(0, kBlack), 60u);
    // Normal and doubled size: a window, larger for doubled.
    EXPECT_GT(Count(2, kWhite), Count(1, kWhite) * 2);
    // Next tune: a blue note and a red note.
    EXPECT_GT(Count(4, kBlue), 20u);
    EXPECT_GT(Count(4, kRed), 20u);
    // Populations: more stars from sparse to dense to crowded.
    const std::set<uint8_t> starry{kWhite, kLightGrey, kDarkGrey};
    EXPECT_LT(Groups(8, starry), Groups(9, starry));
    EXPECT_LT(Groups(9, starry), Groups(10, starry));
    // Nausea levels: a yellow blob with three, five and nine coloured dots.
    const std::set<uint8_t> dots{1, 2, 4, 5, 6, 9, 10, 12, 13, 14, kWhite};
    for (int n : {11, 12, 13})
        EXPECT_GT(Count(n, kYellow), 250u) << "picture " << n;
    EXPECT_EQ(Groups(11, dots), 3u);
    EXPECT_EQ(Groups(12, dots), 5u);
    EXPECT_EQ(Groups(13, dots), 9u);
    // Quick help: a yellow question mark.
    EXPECT_GT(Count(16, kYellow), 60u);
}

TEST_F(ToolbarStrip, AboutPicturesAreTheIcons)
{
    for (auto [n, name] : {std::pair{14, "velmora"}, std::pair{15, "maker-logo"}}) {
        const std::vector<uint8_t> ico = ReadFileBytes(std::string(VELMORA_GENERATED_DIR "/") + name + ".ico");
        Dib image;
        ASSERT_TRUE(ParsePackedDib(ico, 22, 32, image)) << name;
        const size_t maskAt = 22 + image.bytesUsed;
        ASSERT_GE(ico.size(), maskAt + 128) << name;
        for (int32_t y = 0; y < 32; ++y) {
            for (int32_t x = 0; x < 32; ++x) {
                const bool transparent = (ico[maskAt + size_t(31 - y) * 4 + size_t(x) / 8] >> (7 - x % 8)) & 1;
                const uint8_t expected = transparent ? uint8_t(kLightGrey) : image.At(x, y);
                ASSERT_EQ(strip.At(n * 32 + x, y), expected) << name << " at " << x << ", " << y;
            }
        }
    }
}
