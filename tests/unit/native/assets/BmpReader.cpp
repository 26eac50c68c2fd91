#include "BmpReader.h"
#include <fstream>
#include <iterator>

namespace assets_test {

uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | (b[at + 1] << 8)); }
uint32_t Le32(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t(Le16(b, at)) | (uint32_t(Le16(b, at + 2)) << 16);
}

std::vector<uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool ParsePackedDib(const std::vector<uint8_t>& b, size_t at, int32_t rowsHeight, Dib& out)
{
    if (b.size() < at + 40)
        return false;
    out.headerSize = Le32(b, at);
    out.width = int32_t(Le32(b, at + 4));
    out.height = int32_t(Le32(b, at + 8));
    out.planes = Le16(b, at + 12);
    out.bitCount = Le16(b, at + 14);
    out.compression = Le32(b, at + 16);
    out.sizeImage = Le32(b, at + 20);
    out.clrUsed = Le32(b, at + 32);
    if (out.bitCount != 1 && out.bitCount != 4 && out.bitCount != 8)
        return false;
    const uint32_t entries = out.clrUsed ? out.clrUsed : (1u << out.bitCount);
    size_t p = at + out.headerSize;
    if (b.size() < p + entries * 4)
        return false;
    out.table.clear();
    for (uint32_t i = 0; i < entries; ++i, p += 4)
        out.table.push_back(Le32(b, p));
    const size_t pitch = ((size_t(out.width) * out.bitCount + 31) / 32) * 4;
    if (out.width <= 0 || rowsHeight <= 0 || b.size() < p + pitch * size_t(rowsHeight))
        return false;
    out.indices.assign(size_t(out.width) * size_t(rowsHeight), 0);
    const uint32_t perByte = 8u / out.bitCount;
    for (int32_t y = 0; y < rowsHeight; ++y) {
        const size_t row = p + pitch * size_t(rowsHeight - 1 - y);   // bottom-up
        for (int32_t x = 0; x < out.width; ++x) {
            const uint8_t byte = b[row + size_t(x) / perByte];
            const uint32_t shift = (perByte - 1 - uint32_t(x) % perByte) * out.bitCount;
            out.indices[size_t(y) * size_t(out.width) + size_t(x)] =
                uint8_t((byte >> shift) & ((1u << out.bitCount) - 1));
        }
    }
    out.bytesUsed = p + pitch * size_t(rowsHeight) - at;
    return true;
}

}   // namespace assets_test
