#include "surface/ImageFormats.h"
#include <cstring>
#include <memory>
#include <new>

namespace imagefmt {

namespace {

int32_t Le32(const uint8_t* p)
{
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

uint16_t LeU16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

int32_t Le16(const uint8_t* p) { return int16_t(LeU16(p)); }

bool DimensionOk(int32_t n) { return n > 0 && n <= kMaxDimension; }

}   // namespace

Check CheckBmpHeader(const uint8_t* info, uint64_t fileLength, BmpInfo* out)
{
    const uint32_t size = uint32_t(Le32(info));
    const int32_t width = Le32(info + 4);
    const int32_t height = Le32(info + 8);
    const uint16_t planes = LeU16(info + 12);
    const uint16_t bitCount = LeU16(info + 14);
    const uint32_t compression = uint32_t(Le32(info + 16));
    const uint32_t colorsUsed = uint32_t(Le32(info + 32));

    if (size != kBmpInfoHeaderSize)
        return Check::badHeaderSize;
    if (bitCount != 8 || planes != 1)
        return Check::notEightBit;
    if (compression != 0)
        return Check::compressed;
    if (colorsUsed != 0 && colorsUsed != 256)
        return Check::badColorCount;
    if (height < 0)
        return Check::topDown;
    if (!DimensionOk(width) || !DimensionOk(height))
        return Check::badDimensions;

    const uint32_t pitch = RowPitch(width);
    const uint64_t imageSize = uint64_t(pitch) * uint64_t(height);
    if (uint64_t(kBmpPixelOffset) + imageSize > fileLength)
        return Check::truncated;
    out->width = width;
    out->height = height;
    out->pitch = pitch;
    out->imageSize = uint32_t(imageSize);
    return Check::ok;
}

Check CheckPcxHeader(const uint8_t* header, uint64_t fileLength, PcxInfo* out)
{
    if (fileLength < uint64_t(kPcxHeaderSize) + kPcxPaletteSize)
        return Check::truncated;
    PcxInfo info;
    info.xmin = Le16(header + 4);
    info.ymin = Le16(header + 6);
    info.xmax = Le16(header + 8);
    info.ymax = Le16(header + 10);
    info.bytesPerLine = Le16(header + 66);
    info.width = info.xmax - info.xmin + 1;   // 16-bit inputs: no overflow
    info.height = info.ymax - info.ymin + 1;
    if (!DimensionOk(info.width) || !DimensionOk(info.height))
        return Check::badDimensions;
    // Each row must carry at least the image's width in pixels.
    if (info.bytesPerLine < info.width)
        return Check::badBytesPerLine;
    const uint64_t dataSize = fileLength - kPcxHeaderSize - kPcxPaletteSize;
    if (dataSize > UINT32_MAX)
        return Check::truncated;
    info.dataSize = uint32_t(dataSize);
    // Two data bytes decode to at most 63 pixels, so a header whose rows no
    // data of this length could fill is refused before the data is read.
    if (uint64_t(info.bytesPerLine) * uint64_t(info.height) > uint64_t(info.dataSize) * 32u)
        return Check::truncated;
    *out = info;
    return Check::ok;
}

Check CheckPcxData(const uint8_t* data, size_t dataSize, int32_t bytesPerLine, int32_t height)
{
    // A pitch of 0 leaves no room in any row: the walk writes nothing.
    return DecodePcxRows(data, dataSize, bytesPerLine, nullptr, 0, height);
}

Check DecodePcxRows(const uint8_t* data, size_t dataSize, int32_t bytesPerLine, uint8_t* pixels, uint32_t pitch,
                    int32_t height)
{
    size_t in = 0;
    for (int32_t row = 0; row < height; ++row) {
        const size_t line = size_t(row) * pitch;   // the row's start in the block
        uint32_t x = 0;                            // next byte of the row to write
        int32_t count = bytesPerLine;
        while (count > 0) {
            if (in >= dataSize)
                return Check::truncated;
            const uint8_t b = data[in++];
            if (b >= 0xC0) {
                if (in >= dataSize)
                    return Check::truncated;
                const uint8_t value = data[in++];
                const uint32_t run = b & 0x3Fu;
                const uint32_t room = x < pitch ? pitch - x : 0;
                const uint32_t put = run < room ? run : room;
                if (put)
                    std::memset(pixels + line + x, value, put);
                x += run;
                count -= int32_t(run);
            } else {
                if (x < pitch)
                    pixels[line + x] = b;
                ++x;
                --count;
            }
        }
    }
    return Check::ok;
}

Check LoadBmp(FileSource& file, ImageSink& sink)
{
    uint64_t length = 0;
    if (!file.Length(&length))
        return Check::unreadable;
    uint8_t info[kBmpInfoHeaderSize];
    if (!file.ReadAt(kBmpFileHeaderSize, info, sizeof info))
        return Check::truncated;
    BmpInfo bmp{};
    const Check header = CheckBmpHeader(info, length, &bmp);
    if (header != Check::ok)
        return header;
    if (!sink.Size(bmp.width, bmp.height))
        return Check::refused;
    uint8_t colors[kBmpColorTableSize];
    if (!file.ReadAt(kBmpFileHeaderSize + kBmpInfoHeaderSize, colors, sizeof colors))
        return Check::truncated;
    // The rows are read before the sink sees anything, as the PCX data is:
    // a read that fails leaves the sink's colours and pixels untouched.
    std::unique_ptr<uint8_t[]> rows(new (std::nothrow) uint8_t[bmp.imageSize]);
    if (!rows)
        return Check::outOfMemory;
    if (!file.ReadAt(kBmpPixelOffset, rows.get(), bmp.imageSize))
        return Check::truncated;
    sink.Colors(colors);
    uint8_t* pixels = sink.Pixels();
    if (!pixels)
        return Check::refused;
    std::memcpy(pixels, rows.get(), bmp.imageSize);
    return Check::ok;
}

Check LoadPcx(FileSource& file, ImageSink& sink)
{
    uint64_t length = 0;
    if (!file.Length(&length))
        return Check::unreadable;
    uint8_t header[kPcxHeaderSize];
    if (length < kPcxHeaderSize || !file.ReadAt(0, header, sizeof header))
        return Check::truncated;
    PcxInfo pcx{};
    const Check checked = CheckPcxHeader(header, length, &pcx);
    if (checked != Check::ok)
        return checked;
    if (!sink.Size(pcx.width, pcx.height))
        return Check::refused;

    uint8_t triples[kPcxPaletteSize];
    if (!file.ReadAt(length - kPcxPaletteSize, triples, sizeof triples))
        return Check::truncated;
    uint8_t colors[kBmpColorTableSize];
    for (uint32_t i = 0; i < 256; ++i) {
        colors[4 * i] = triples[3 * i + 2];
        colors[4 * i + 1] = triples[3 * i + 1];
        colors[4 * i + 2] = triples[3 * i];
        colors[4 * i + 3] = 0;
    }

    // The data is read and walked before the sink sees anything: a header
    // that claims more rows than the data fills costs no block at all and
    // leaves the sink's colours as they were, and a block is only ever as
    // large as what the data decodes to (plus the row padding).
    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[pcx.dataSize]);
    if (!data)
        return Check::outOfMemory;
    if (!file.ReadAt(kPcxHeaderSize, data.get(), pcx.dataSize))
        return Check::truncated;
    const Check filled = CheckPcxData(data.get(), pcx.dataSize, pcx.bytesPerLine, pcx.height);
    if (filled != Check::ok)
        return filled;
    sink.Colors(colors);
    uint8_t* pixels = sink.Pixels();
    if (!pixels)
        return Check::refused;
    return DecodePcxRows(data.get(), pcx.dataSize, pcx.bytesPerLine, pixels, RowPitch(pcx.width), pcx.height);
}

}   // namespace imagefmt
