// The "VELMORA" bitmap: the 320 × 200, 8-bit image the frame buffer is
// created from. Every pixel is 0; what matters is its colour table, which
// also seeds the identity palette.
#pragma once
#include "tools/assets/Dib.h"
#include <vector>

namespace velmora::assets {

constexpr int32_t kVelmoraWidth = 320;
constexpr int32_t kVelmoraHeight = 200;

// 256 entries: the 20 static colours of the display at 0–9 and 246–255,
// and between them a grey ramp from white (10) to nearly black (245).
std::vector<RgbQuad> VelmoraColourTable();

// The complete .bmp file.
std::vector<uint8_t> MakeVelmoraBitmap();

}   // namespace velmora::assets
