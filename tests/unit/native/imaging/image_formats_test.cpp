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

}   // namespace

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

namespace {

// A file in memory; reads past its end, or reaching past readableTo (a
// read error part-way through), fail.
struct MemoryFile final : FileSource {
    std::vector<uint8_t> bytes;
    bool bLengthFails = false;
    uint64_t readableTo = UINT64_MAX;
    bool Length(uint64_t* length) override
    {
        *length = bytes.size();
        return !bLengthFails;
    }
    bool ReadAt(uint64_t offset, void* out, uint32_t count) override
    {
        if (offset > bytes.size() || count > bytes.size() - offset || offset + count > readableTo)
            return false;
        std::memcpy(out, bytes.data() + offset, count);
        return true;
    }
};

// Records what a load hands over and counts the pixel blocks it asks for.
struct RecordingSink final : ImageSink {
    int32_t width = 0, height = 0;
    std::vector<uint8_t> colors, pixels;
    int blocksAsked = 0;
    bool Size(int32_t w, int32_t h) override
    {
        width = w;
        height = h;
        return true;
    }
    void Colors(const uint8_t* bgr0) override { colors.assign(bgr0, bgr0 + 1024); }
    uint8_t* Pixels() override
    {
        ++blocksAsked;
        pixels.assign(size_t(RowPitch(width)) * size_t(height), 0xEE);
        return pixels.data();
    }
};

std::vector<uint8_t> PcxFile(int32_t width, int32_t height, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> f = PcxHeader(0, 0, width - 1, height - 1, width);
    f.insert(f.end(), data.begin(), data.end());
    for (int i = 0; i < 256; ++i) {   // red, green, blue
        f.push_back(uint8_t(i));
        f.push_back(uint8_t(i / 2));
        f.push_back(uint8_t(255 - i));
    }
    return f;
}

}   // namespace

TEST(PcxLoad, ColoursThenTheDecodedRowsTopRowFirst)
{
    MemoryFile file;
    file.bytes = PcxFile(3, 2, {0xC3, 7, 1, 2, 3});
    RecordingSink sink;
    ASSERT_EQ(LoadPcx(file, sink), Check::ok);
    EXPECT_EQ(sink.width, 3);
    EXPECT_EQ(sink.height, 2);
    ASSERT_EQ(sink.colors.size(), 1024u);
    const uint8_t entry5[] = {250, 2, 5, 0};   // blue, green, red, 0
    EXPECT_EQ(std::memcmp(&sink.colors[20], entry5, 4), 0);
    const uint8_t want[] = {7, 7, 7, 0xEE, 1, 2, 3, 0xEE};   // pitch 4, padding untouched
    ASSERT_EQ(sink.pixels.size(), sizeof want);
    EXPECT_EQ(std::memcmp(sink.pixels.data(), want, sizeof want), 0);
}

TEST(PcxLoad, NoPixelBlockIsAskedForUntilTheDataFillsEveryRow)
{
    // 16384 x 16384 from 8.4 MB of single pixels: enough bytes for the
    // header's bound on runs, but they decode to only 8.4 MB of the 256 MiB
    // the header claims.
    MemoryFile file;
    file.bytes = PcxFile(16384, 16384, std::vector<uint8_t>(8400000, 1));
    PcxInfo info{};
    ASSERT_EQ(CheckPcxHeader(file.bytes.data(), file.bytes.size(), &info), Check::ok);
    RecordingSink sink;
    EXPECT_EQ(LoadPcx(file, sink), Check::truncated);
    EXPECT_EQ(sink.blocksAsked, 0);
    EXPECT_TRUE(sink.colors.empty()) << "a failed load hands over no colours either";

    // Runs of 63 pixels that fill every row get their block.
    file.bytes = PcxFile(4096, 2, std::vector<uint8_t>(2 * 66 * 2, 0xFF));
    EXPECT_EQ(LoadPcx(file, sink), Check::ok);
    EXPECT_EQ(sink.blocksAsked, 1);
}

TEST(BmpLoad, HeaderColoursAndRowsAsTheFileHoldsThem)
{
    MemoryFile file;
    file.bytes.assign(14, 0);
    const auto info = BmpInfoHeader(3, 2);
    file.bytes.insert(file.bytes.end(), info.begin(), info.end());
    for (int i = 0; i < 1024; ++i)
        file.bytes.push_back(uint8_t(i));
    for (uint8_t b : {1, 2, 3, 0, 4, 5, 6, 0})
        file.bytes.push_back(b);
    RecordingSink sink;
    ASSERT_EQ(LoadBmp(file, sink), Check::ok);
    EXPECT_EQ(sink.width, 3);
    EXPECT_EQ(sink.height, 2);
    EXPECT_EQ(sink.colors[1023], 0xFF);
    EXPECT_EQ(std::memcmp(sink.pixels.data(), &file.bytes[1078], 8), 0);

    // A file that cannot be sized, that ends early, or whose rows cannot be
    // read hands over neither colours nor rows.
    RecordingSink none;
    file.readableTo = 1079;
    EXPECT_EQ(LoadBmp(file, none), Check::truncated);
    EXPECT_TRUE(none.colors.empty());
    file.readableTo = UINT64_MAX;
    file.bLengthFails = true;
    EXPECT_EQ(LoadBmp(file, none), Check::unreadable);
    EXPECT_EQ(LoadPcx(file, none), Check::unreadable);
    file.bLengthFails = false;
    file.bytes.resize(1000);
    EXPECT_EQ(LoadBmp(file, none), Check::truncated);
    EXPECT_EQ(none.blocksAsked, 0);
}
