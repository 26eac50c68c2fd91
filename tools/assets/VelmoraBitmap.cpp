#include "tools/assets/VelmoraBitmap.h"

namespace velmora::assets {

namespace {

// The display's static colours, in system-palette order, as red, green, blue.
struct Rgb {
    uint8_t r, g, b;
};
constexpr Rgb kLowStatics[10] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128}, {0, 128, 128}, {192, 192, 192}, {192, 220, 192}, {164, 200, 240},
};
constexpr Rgb kHighStatics[10] = {
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255},
};

constexpr int32_t kFirstRamp = 10;
constexpr int32_t kLastRamp = 245;

RgbQuad Quad(Rgb c) { return RgbQuad{c.b, c.g, c.r, 0}; }

}   // namespace

std::vector<RgbQuad> VelmoraColourTable()
{
    std::vector<RgbQuad> table(256);
    for (int32_t i = 0; i < 10; ++i) {
        table[size_t(i)] = Quad(kLowStatics[i]);
        table[size_t(246 + i)] = Quad(kHighStatics[i]);
    }
    // White at 10 down to 1 at 245: level = floor(255 - k * 254 / 235) for
    // step k, taken over the exact quotient. In integers that is 255 minus
    // the quotient rounded up (255 - 1.08 floors to 253, not 254).
    constexpr int32_t steps = kLastRamp - kFirstRamp;
    for (int32_t i = kFirstRamp; i <= kLastRamp; ++i) {
        const int32_t drop = ((i - kFirstRamp) * 254 + steps - 1) / steps;
        const uint8_t level = uint8_t(255 - drop);
        table[size_t(i)] = RgbQuad{level, level, level, 0};
    }
    return table;
}

std::vector<uint8_t> MakeVelmoraBitmap()
{
    const std::vector<uint8_t> pixels(size_t(kVelmoraWidth) * kVelmoraHeight, 0);
    return MakeBmpFile(kVelmoraWidth, kVelmoraHeight, 8, VelmoraColourTable(), pixels);
}

}   // namespace velmora::assets
