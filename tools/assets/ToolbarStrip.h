// The toolbar's image strip: 17 pictures of 32 × 32 side by side from the
// left, then blank light-grey columns up to the strip's full width.
#pragma once
#include "tools/assets/PixelArt.h"
#include <vector>

namespace velmora::assets {

constexpr int32_t kPictureSize = 32;
constexpr int32_t kStripPictures = 17;
constexpr int32_t kStripWidth = 606;
constexpr int32_t kStripHeight = 32;

// The strip as a 4-bit .bmp file with the standard 16-colour palette.
// Background pixels become the button face, light grey. Expects
// kStripPictures pictures of kPictureSize square.
std::vector<uint8_t> MakeToolbarStrip(const std::vector<PixelArt>& pictures);

}   // namespace velmora::assets
