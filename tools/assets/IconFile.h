// A .ico file holding one 32 × 32, 16-colour image: the form the resource
// compiler turns into an icon resource.
#pragma once
#include "tools/assets/PixelArt.h"
#include <vector>

namespace velmora::assets {

constexpr int32_t kIconSize = 32;

// Background pixels are transparent (AND-mask bit set, colour black); every
// other pixel is opaque in its colour. Expects a kIconSize square picture.
std::vector<uint8_t> MakeIconFile(const PixelArt& art);

// Reads the icon's kIconSize square picture from a pixel-art file; when it
// cannot, says why on stderr and returns false.
bool ReadIconPicture(const char* path, PixelArt& art);

}   // namespace velmora::assets
