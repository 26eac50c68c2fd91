// Reads the .bmp and .ico files the generators write back into pixels, so
// that the tests check the files themselves rather than the writers' inputs.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace assets_test {

uint16_t Le16(const std::vector<uint8_t>& b, size_t at);
uint32_t Le32(const std::vector<uint8_t>& b, size_t at);
std::vector<uint8_t> ReadFileBytes(const std::string& path);

struct Dib {
    uint32_t headerSize = 0;
    int32_t width = 0;
    int32_t height = 0;   // as stored: positive means bottom-up rows
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    uint32_t clrUsed = 0;
    std::vector<uint32_t> table;    // 0x00RRGGBB, reserved byte included in bits 24-31
    std::vector<uint8_t> indices;   // one per pixel, top row first
    size_t bytesUsed = 0;           // header + table + rows

    uint8_t At(int32_t x, int32_t y) const { return indices[size_t(y) * size_t(width) + size_t(x)]; }
};

// Parses a packed DIB (BITMAPINFOHEADER, colour table, rows) at offset `at`.
// rowsHeight is the number of pixel rows to unpack (an icon's header counts
// its mask too). Returns false when the bytes are too short.
bool ParsePackedDib(const std::vector<uint8_t>& b, size_t at, int32_t rowsHeight, Dib& out);

}   // namespace assets_test
