#include "tools/assets/ToolbarStrip.h"

namespace velmora::assets {

std::vector<uint8_t> MakeToolbarStrip(const std::vector<PixelArt>& pictures)
{
    std::vector<uint8_t> strip(size_t(kStripWidth) * kStripHeight, kLightGrey);
    for (size_t n = 0; n < pictures.size() && n < size_t(kStripPictures); ++n) {
        const PixelArt& art = pictures[n];
        for (int32_t y = 0; y < kPictureSize; ++y) {
            for (int32_t x = 0; x < kPictureSize; ++x) {
                const uint8_t index = art.At(x, y);
                strip[size_t(y) * kStripWidth + n * kPictureSize + size_t(x)] =
                    index == kBackground ? kLightGrey : index;
            }
        }
    }
    return MakeBmpFile(kStripWidth, kStripHeight, 4, StandardPalette16(), strip);
}

}   // namespace velmora::assets
