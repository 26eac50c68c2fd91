#include "tools/assets/PngFile.h"
#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace velmora::assets {
namespace {

constexpr uint8_t kTransparentIndex = 16;
constexpr uint32_t kMaxStoredBlock = 65535;

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int32_t k = 0; k < 8; ++k)
                c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFFu] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const std::vector<uint8_t>& data)
{
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

// PNG integers are big-endian.
void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v >> 24));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

void PutChunk(std::vector<uint8_t>& out, std::string_view type, const std::vector<uint8_t>& body)
{
    PutU32(out, uint32_t(body.size()));
    const size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), body.begin(), body.end());
    PutU32(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored deflate blocks.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw)
{
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t at = 0;
    do {
        const uint32_t n = uint32_t(std::min<size_t>(raw.size() - at, kMaxStoredBlock));
        const bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(uint8_t(n));
        z.push_back(uint8_t(n >> 8));
        z.push_back(uint8_t(~n));
        z.push_back(uint8_t(~n >> 8));
        z.insert(z.end(), raw.begin() + std::ptrdiff_t(at), raw.begin() + std::ptrdiff_t(at + n));
        at += n;
    } while (at < raw.size());
    PutU32(z, Adler32(raw));
    return z;
}

}   // namespace

std::vector<uint8_t> MakeIconPng(const PixelArt& art, int32_t size)
{
    // Rows of palette indices, each led by filter type 0 (none).
    std::vector<uint8_t> raw;
    raw.reserve(size_t(size) * (uint32_t(size) + 1u));
    for (int32_t y = 0; y < size; ++y) {
        raw.push_back(0);
        const int32_t sy = int32_t(int64_t(y) * art.height / size);
        for (int32_t x = 0; x < size; ++x) {
            const uint8_t p = art.At(int32_t(int64_t(x) * art.width / size), sy);
            raw.push_back(p == kBackground ? kTransparentIndex : p);
        }
    }

    std::vector<uint8_t> header;
    PutU32(header, uint32_t(size));
    PutU32(header, uint32_t(size));
    header.insert(header.end(), {8, 3, 0, 0, 0});   // 8 bits, palette, deflate, filters 0, no interlace

    std::vector<uint8_t> palette;
    std::vector<uint8_t> alpha;
    for (const RgbQuad& q : StandardPalette16()) {
        palette.insert(palette.end(), {q.red, q.green, q.blue});
        alpha.push_back(255);
    }
    palette.insert(palette.end(), {0, 0, 0});
    alpha.push_back(0);

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(out, "IHDR", header);
    PutChunk(out, "PLTE", palette);
    PutChunk(out, "tRNS", alpha);
    PutChunk(out, "IDAT", StoredZlib(raw));
    PutChunk(out, "IEND", {});
    return out;
}

}   // namespace velmora::assets
