// A PNG picture of a pixel-art icon at another size, for desktops that take
// their icons as PNG files.
#pragma once
#include "tools/assets/PixelArt.h"
#include <vector>

namespace velmora::assets {

// The picture scaled to size × size by repeating or dropping whole pixels
// (nearest neighbour, no smoothing), as an 8-bit palette PNG: the 16
// standard colours, and a fully transparent entry for the '.' pixels. The
// data is stored without compression: the largest size is a few kilobytes
// and the file needs no compression library.
std::vector<uint8_t> MakeIconPng(const PixelArt& art, int32_t size);

}   // namespace velmora::assets
