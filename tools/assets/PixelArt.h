// Pixel art kept as text: one line per pixel row, one character per pixel.
// Lines starting with ';' are comments; blank lines are ignored.
//
//   .  background: transparent in an icon, button-face light grey elsewhere
//   #  black        r  dark red      g  dark green   y  dark yellow
//   b  dark blue    m  dark magenta  c  dark cyan    -  light grey
//   :  dark grey    R  red           G  green        Y  yellow
//   B  blue         M  magenta       C  cyan         W  white
//
// The letters name the standard 16-colour palette of a 4-bit DIB.
#pragma once
#include "tools/assets/Dib.h"
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::assets {

constexpr uint8_t kBackground = 0xFF;   // the '.' pixel
constexpr uint8_t kLightGrey = 7;       // the button face of the toolbar

// The 16 colours of a 4-bit DIB in the standard Windows order.
const std::vector<RgbQuad>& StandardPalette16();

// Palette index of a legend character, kBackground for '.', or -1 when the
// character is not in the legend.
int32_t LegendIndex(char c);

struct PixelArt {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;   // top row first; 0..15 or kBackground

    uint8_t At(int32_t x, int32_t y) const { return pixels[size_t(y) * uint32_t(width) + uint32_t(x)]; }
};

// Parses a picture that must be exactly width × height. On failure returns
// false and describes the first problem (with its line number) in error.
bool ParsePixelArt(std::string_view text, int32_t width, int32_t height, PixelArt& out, std::string& error);

// Reads and parses a picture file; the error names the file.
bool ReadPixelArtFile(const std::string& path, int32_t width, int32_t height, PixelArt& out, std::string& error);

}   // namespace velmora::assets
