#include "tools/assets/Dib.h"
#include "tools/assets/ByteWriter.h"

namespace velmora::assets {

std::vector<uint8_t> PackRowsBottomUp(int32_t width, int32_t height, uint16_t bitCount,
                                      const std::vector<uint8_t>& indices)
{
    const uint32_t pitch = DibPitch(width, bitCount);
    const uint32_t perByte = 8u / bitCount;
    const uint32_t mask = (1u << bitCount) - 1u;
    std::vector<uint8_t> rows(size_t(pitch) * uint32_t(height), 0);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = rows.data() + size_t(pitch) * uint32_t(height - 1 - y);
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t index = indices[size_t(y) * uint32_t(width) + uint32_t(x)] & mask;
            const uint32_t shift = (perByte - 1u - uint32_t(x) % perByte) * bitCount;
            row[uint32_t(x) / perByte] = uint8_t(row[uint32_t(x) / perByte] | (index << shift));
        }
    }
    return rows;
}

void AppendInfoHeader(std::vector<uint8_t>& out, int32_t width, int32_t height, uint16_t bitCount, uint32_t imageSize,
                      uint32_t colorsUsed)
{
    ByteWriter w(out);
    w.U32(kInfoHeaderSize);
    w.I32(width);
    w.I32(height);
    w.U16(1);   // planes
    w.U16(bitCount);
    w.U32(0);   // BI_RGB
    w.U32(imageSize);
    w.I32(0);   // no physical resolution recorded
    w.I32(0);
    w.U32(colorsUsed);
    w.U32(0);   // every colour is important
}

std::vector<uint8_t> MakeBmpFile(int32_t width, int32_t height, uint16_t bitCount, const std::vector<RgbQuad>& table,
                                 const std::vector<uint8_t>& indices)
{
    const std::vector<uint8_t> rows = PackRowsBottomUp(width, height, bitCount, indices);
    const uint32_t tableBytes = uint32_t(table.size()) * 4u;
    const uint32_t offBits = kFileHeaderSize + kInfoHeaderSize + tableBytes;

    std::vector<uint8_t> out;
    out.reserve(offBits + rows.size());
    ByteWriter w(out);
    w.U8('B');
    w.U8('M');
    w.U32(offBits + uint32_t(rows.size()));
    w.U16(0);
    w.U16(0);
    w.U32(offBits);
    AppendInfoHeader(out, width, height, bitCount, uint32_t(rows.size()), uint32_t(table.size()));
    for (const RgbQuad& q : table) {
        w.U8(q.blue);
        w.U8(q.green);
        w.U8(q.red);
        w.U8(0);
    }
    w.Bytes(rows);
    return out;
}

}   // namespace velmora::assets
