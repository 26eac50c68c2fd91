// Header checks and the run-length decoder, with hostile inputs.
#include "surface/ImageFormats.h"
#include <gtest/gtest.h>
#include <cstring>
#include <vector>

using namespace imagefmt;

namespace {

void Put32(uint8_t* p, int32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(uint32_t(v) >> (8 * i));
}
void Put16(uint8_t* p, int32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(uint32_t(v) >> 8);
}

std::vector<uint8_t> BmpInfoHeader(int32_t width, int32_t height)
{
    std::vector<uint8_t> h(40, 0);
    Put32(&h[0], 40);
    Put32(&h[4], width);
    Put32(&h[8], height);
    Put16(&h[12], 1);
    Put16(&h[14], 8);
    return h;
}

std::vector<uint8_t> PcxHeader(int32_t xmin, int32_t ymin, int32_t xmax, int32_t ymax, int32_t bytesPerLine)
{
    std::vector<uint8_t> h(128, 0);
    h[0] = 10;
    h[1] = 5;
    h[2] = 1;
    h[3] = 8;
    Put16(&h[4], xmin);
    Put16(&h[6], ymin);
    Put16(&h[8], xmax);
    Put16(&h[10], ymax);
    Put16(&h[66], bytesPerLine);
    return h;
}

} // namespace

TEST(BmpHeader, AcceptsExactlyTheUncompressedEightBitBottomUpLayout)
{
    BmpInfo info{};
    auto h = BmpInfoHeader(321, 3);
    const uint64_t exact = 1078 + 324 * 3;
    ASSERT_EQ(CheckBmpHeader(h.data(), exact, &info), Check::ok);
    EXPECT_EQ(info.width, 321);
    EXPECT_EQ(info.height, 3);
    EXPECT_EQ(info.pitch, 324u);
    EXPECT_EQ(info.imageSize, 972u);
    EXPECT_EQ(CheckBmpHeader(h.data(), exact - 1, &info), Check::truncated);
    Put32(&h[32], 256);   // a colour count of 256 says the same as 0
    EXPECT_EQ(CheckBmpHeader(h.data(), exact, &info), Check::ok);
}

TEST(BmpHeader, RejectsEveryOtherLayoutBeforeAnythingIsAllocated)
{
    BmpInfo info{};
    const uint64_t big = 1u << 30;
    auto h = BmpInfoHeader(8, 8);
    Put16(&h[14], 24);
    EXPECT_EQ(CheckBmpHeader(h.data(), big, &info), Check::notEightBit);
    h = BmpInfoHeader(8, 8);
    Put16(&h[12], 2);
    EXPECT_EQ(CheckBmpHeader(h.data(), big, &info), Check::notEightBit);
    h = BmpInfoHeader(8, 8);
    Put32(&h[16], 1);   // run-length encoded
    EXPECT_EQ(CheckBmpHeader(h.data(), big, &info), Check::compressed);
    h = BmpInfoHeader(8, -8);
    EXPECT_EQ(CheckBmpHeader(h.data(), big, &info), Check::topDown);
    h = BmpInfoHeader(8, INT32_MIN);
    EXPECT_EQ(CheckBmpHeader(h.data(), big, &info), Check::topDown);
    h = BmpInfoHeader(8, 8);
    Put32(&h[0], 124);
    EXPECT_EQ(CheckBmpHeader(h.data(), big, &info), Check::badHeaderSize);
    h = BmpInfoHeader(8, 8);
    Put32(&h[32], 16);
    EXPECT_EQ(CheckBmpHeader(h.data(), big, &info), Check::badColorCount);
    for (auto [w, ht] : {std::pair{0, 8}, {8, 0}, {-8, 8}, {INT32_MIN, 8}, {65536, 65536}, {8, 0x7FFFFFFF}}) {
        h = BmpInfoHeader(w, ht);
        EXPECT_EQ(CheckBmpHeader(h.data(), UINT64_MAX, &info), Check::badDimensions) << w << " x " << ht;
    }
}

TEST(PcxHeader, SizesComeFromTheBoundsAndTheFileLength)
{
    PcxInfo info{};
    auto h = PcxHeader(0, 0, 319, 199, 320);
    ASSERT_EQ(CheckPcxHeader(h.data(), 128 + 5000 + 768, &info), Check::ok);
    EXPECT_EQ(info.width, 320);
    EXPECT_EQ(info.height, 200);
    EXPECT_EQ(info.dataSize, 5000u);
    h = PcxHeader(-5, 10, 4, 10, 10);   // signed bounds
    ASSERT_EQ(CheckPcxHeader(h.data(), 128 + 1 + 768, &info), Check::ok);
    EXPECT_EQ(info.width, 10);
    EXPECT_EQ(info.height, 1);
    EXPECT_EQ(info.dataSize, 1u);
}

TEST(PcxHeader, RejectsShortFilesEmptyBoundsAndBadLineLengths)
{
    PcxInfo info{};
    auto h = PcxHeader(0, 0, 9, 9, 10);
    EXPECT_EQ(CheckPcxHeader(h.data(), 128 + 767, &info), Check::truncated);
    EXPECT_EQ(CheckPcxHeader(h.data(), 500, &info), Check::truncated);
    h = PcxHeader(10, 0, 9, 9, 10);
    EXPECT_EQ(CheckPcxHeader(h.data(), 2000, &info), Check::badDimensions);
    h = PcxHeader(-32768, 0, 32767, 0, 10);   // 65536 wide
    EXPECT_EQ(CheckPcxHeader(h.data(), 2000, &info), Check::badDimensions);
    h = PcxHeader(0, 0, 9, 9, 0);
    EXPECT_EQ(CheckPcxHeader(h.data(), 2000, &info), Check::badBytesPerLine);
    h = PcxHeader(0, 0, 9, 9, -4);
    EXPECT_EQ(CheckPcxHeader(h.data(), 2000, &info), Check::badBytesPerLine);
    h = PcxHeader(0, 0, 9, 9, 9);   // rows shorter than the width
    EXPECT_EQ(CheckPcxHeader(h.data(), 2000, &info), Check::badBytesPerLine);
    // 16384 rows of 16384 bytes cannot come out of 100 bytes of runs.
    h = PcxHeader(0, 0, 16383, 16383, 16384);
    EXPECT_EQ(CheckPcxHeader(h.data(), 128 + 100 + 768, &info), Check::truncated);
    h = PcxHeader(0, 0, 31, 0, 32);   // but one row of 32 can come out of one byte pair
    EXPECT_EQ(CheckPcxHeader(h.data(), 128 + 1 + 768, &info), Check::ok);
}

TEST(PcxDecode, RunsLiteralsAndEmptyRunsCarryOnAcrossRows)
{
    // Two rows of 6 bytes in a pitch of 8. Row 0: a run of 4, two literals.
    // Row 1 carries on in the data: a zero-length run (it consumes its
    // value byte), a run of 3, three literals.
    const uint8_t data[] = {0xC4, 7, 1, 2, 0xC0, 99, 0xC3, 5, 3, 4, 0x3F};
    std::vector<uint8_t> px(16, 0xEE);
    ASSERT_EQ(DecodePcxRows(data, sizeof data, 6, px.data(), 8, 2), Check::ok);
    const uint8_t want[] = {7, 7, 7, 7, 1, 2, 0xEE, 0xEE, 5, 5, 5, 3, 4, 0x3F, 0xEE, 0xEE};
    EXPECT_EQ(std::memcmp(px.data(), want, 16), 0);
}

TEST(PcxDecode, WritesBeyondTheRowPitchAreDroppedNotSpilled)
{
    // A run of 63 in rows of pitch 4, and a line length larger than the
    // pitch: only the first 4 bytes of each row are written, nothing else.
    const uint8_t data[] = {0xFF, 9, 0xC2, 1, 0xFF, 8, 0xC2, 2};
    std::vector<uint8_t> block(4 + 2 * 4 + 4, 0xEE);   // guard, 2 rows, guard
    ASSERT_EQ(DecodePcxRows(data, sizeof data, 65, block.data() + 4, 4, 2), Check::ok);
    const uint8_t want[] = {0xEE, 0xEE, 0xEE, 0xEE, 9, 9, 9, 9, 8, 8, 8, 8, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(std::memcmp(block.data(), want, sizeof want), 0);
}

TEST(PcxDecode, DataThatEndsEarlyIsReportedAndNeverOverread)
{
    std::vector<uint8_t> px(8);
    const uint8_t literals[] = {1, 2, 3};
    EXPECT_EQ(DecodePcxRows(literals, sizeof literals, 4, px.data(), 4, 1), Check::truncated);
    const uint8_t dangling[] = {1, 2, 3, 0xC1};   // a run byte without its value
    EXPECT_EQ(DecodePcxRows(dangling, sizeof dangling, 4, px.data(), 4, 1), Check::truncated);
    const uint8_t oneRow[] = {0xC4, 1};
    EXPECT_EQ(DecodePcxRows(oneRow, sizeof oneRow, 4, px.data(), 4, 2), Check::truncated);
    EXPECT_EQ(DecodePcxRows(nullptr, 0, 4, px.data(), 4, 0), Check::ok);   // no rows, no data
}
