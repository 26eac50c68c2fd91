// The "VELMORA" bitmap file: its headers, its colour table and its pixels.
#include "BmpReader.h"
#include <gtest/gtest.h>

using namespace assets_test;

namespace {

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }

class VelmoraBitmapFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        bytes = ReadFileBytes(VELMORA_GENERATED_DIR "/velmora.bmp");
        ASSERT_EQ(bytes.size(), 14u + 40u + 1024u + 64000u);
        ASSERT_TRUE(ParsePackedDib(bytes, 14, 200, dib));
    }
    std::vector<uint8_t> bytes;
    Dib dib;
};

}   // namespace

TEST_F(VelmoraBitmapFile, HeadersDescribeA320By200BottomUp8BitImage)
{
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(Le32(bytes, 2), bytes.size());
    EXPECT_EQ(Le32(bytes, 10), 14u + 40u + 1024u);   // pixels right after the table
    EXPECT_EQ(dib.headerSize, 40u);
    EXPECT_EQ(dib.width, 320);
    EXPECT_EQ(dib.height, 200);   // positive: rows stored bottom-up
    EXPECT_EQ(dib.planes, 1u);
    EXPECT_EQ(dib.bitCount, 8u);
    EXPECT_EQ(dib.compression, 0u);
    EXPECT_EQ(dib.sizeImage, 64000u);
    EXPECT_EQ(dib.table.size(), 256u);
    EXPECT_EQ(dib.bytesUsed + 14, bytes.size());
}

TEST_F(VelmoraBitmapFile, EveryPixelIsIndexZero)
{
    for (uint8_t index : dib.indices)
        ASSERT_EQ(index, 0u);
}

TEST_F(VelmoraBitmapFile, StaticColoursSitAtBothEndsOfTheTable)
{
    const uint32_t low[10] = {Rgb(0, 0, 0),       Rgb(128, 0, 0),    Rgb(0, 128, 0),   Rgb(128, 128, 0),
                              Rgb(0, 0, 128),     Rgb(128, 0, 128),  Rgb(0, 128, 128), Rgb(192, 192, 192),
                              Rgb(192, 220, 192), Rgb(164, 200, 240)};
    const uint32_t high[10] = {Rgb(255, 251, 240), Rgb(160, 160, 164), Rgb(128, 128, 128), Rgb(255, 0, 0),
                               Rgb(0, 255, 0),     Rgb(255, 255, 0),   Rgb(0, 0, 255),     Rgb(255, 0, 255),
                               Rgb(0, 255, 255),   Rgb(255, 255, 255)};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(dib.table[size_t(i)], low[i]) << "entry " << i;
        EXPECT_EQ(dib.table[size_t(246 + i)], high[i]) << "entry " << 246 + i;
    }
}

TEST_F(VelmoraBitmapFile, GreyRampRunsFromWhiteToNearlyBlack)
{
    EXPECT_EQ(dib.table[10], Rgb(255, 255, 255));
    EXPECT_EQ(dib.table[11], Rgb(253, 253, 253));
    EXPECT_EQ(dib.table[235], Rgb(11, 11, 11));
    EXPECT_EQ(dib.table[245], Rgb(1, 1, 1));
    // Every ramp entry is a grey one or two levels below the one before
    // (254 levels over 235 steps), with the reserved byte 0.
    for (size_t i = 10; i <= 245; ++i) {
        const uint32_t c = dib.table[i];
        const uint32_t level = c & 0xFF;
        EXPECT_EQ(c, Rgb(level, level, level)) << "entry " << i;
        if (i > 10) {
            const uint32_t before = dib.table[i - 1] & 0xFF;
            EXPECT_GE(before - level, 1u) << "entry " << i;
            EXPECT_LE(before - level, 2u) << "entry " << i;
        }
    }
}
