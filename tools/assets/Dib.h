// Device-independent bitmaps as the Windows resource tools expect them:
// BITMAPINFOHEADER, colour table, rows bottom-up, each padded to 4 bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora::assets {

struct RgbQuad {
    uint8_t blue, green, red, reserved;
};

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kFileHeaderSize = 14;

// Bytes per row of a DIB: rows start on 4-byte boundaries.
constexpr uint32_t DibPitch(int32_t width, uint16_t bitCount)
{
    return ((uint32_t(width) * bitCount + 31u) / 32u) * 4u;
}

// Packs palette indices (one per pixel, top row first) into bottom-up DIB
// rows of 1, 4 or 8 bits per pixel, high-order bits first.
std::vector<uint8_t> PackRowsBottomUp(int32_t width, int32_t height, uint16_t bitCount,
                                      const std::vector<uint8_t>& indices);

// Appends a BITMAPINFOHEADER (BI_RGB, one plane). biHeight is written as
// given, so an icon image can pass twice its height.
void AppendInfoHeader(std::vector<uint8_t>& out, int32_t width, int32_t height, uint16_t bitCount, uint32_t imageSize,
                      uint32_t colorsUsed);

// A complete .bmp file: file header, info header, the colour table and the
// pixels packed bottom-up. biClrUsed records the table's length.
std::vector<uint8_t> MakeBmpFile(int32_t width, int32_t height, uint16_t bitCount, const std::vector<RgbQuad>& table,
                                 const std::vector<uint8_t>& indices);

}   // namespace velmora::assets
