#include "tools/assets/IconFile.h"
#include "tools/assets/ByteWriter.h"
#include <cstdio>

namespace velmora::assets {

std::vector<uint8_t> MakeIconFile(const PixelArt& art)
{
    const size_t count = size_t(kIconSize) * kIconSize;
    std::vector<uint8_t> colours(count, 0);
    std::vector<uint8_t> mask(count, 0);
    for (size_t i = 0; i < count; ++i) {
        if (art.pixels[i] == kBackground)
            mask[i] = 1;
        else
            colours[i] = art.pixels[i];
    }
    const std::vector<uint8_t> xorBits = PackRowsBottomUp(kIconSize, kIconSize, 4, colours);
    const std::vector<uint8_t> andBits = PackRowsBottomUp(kIconSize, kIconSize, 1, mask);
    const std::vector<RgbQuad>& palette = StandardPalette16();
    const uint32_t imageBytes =
        kInfoHeaderSize + uint32_t(palette.size()) * 4u + uint32_t(xorBits.size()) + uint32_t(andBits.size());

    std::vector<uint8_t> out;
    ByteWriter w(out);
    // ICONDIR: reserved, type 1 (icon), one image.
    w.U16(0);
    w.U16(1);
    w.U16(1);
    // ICONDIRENTRY
    w.U8(uint8_t(kIconSize));
    w.U8(uint8_t(kIconSize));
    w.U8(16);   // colours
    w.U8(0);
    w.U16(1);   // planes
    w.U16(4);   // bits per pixel
    w.U32(imageBytes);
    w.U32(6 + 16);
    // The image: its header counts the colour and mask halves in the height.
    AppendInfoHeader(out, kIconSize, kIconSize * 2, 4, uint32_t(xorBits.size() + andBits.size()), 0);
    for (const RgbQuad& q : palette) {
        w.U8(q.blue);
        w.U8(q.green);
        w.U8(q.red);
        w.U8(0);
    }
    w.Bytes(xorBits);
    w.Bytes(andBits);
    return out;
}

bool ReadIconPicture(const char* path, PixelArt& art)
{
    std::string error;
    if (ReadPixelArtFile(path, kIconSize, kIconSize, art, error))
        return true;
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
}

}   // namespace velmora::assets
