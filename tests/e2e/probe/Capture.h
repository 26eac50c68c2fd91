// Pictures the probe makes itself: the system's standard icons drawn into
// memory and written as 24-bit BMP files. (Other processes' windows cannot be
// read back through GDI under Wine's virtual desktop, whose window surfaces
// live in each process; the driver takes screen pixels from the X server.)
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

struct Image {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;   // 0x00RRGGBB, rows top to bottom

    uint32_t At(int32_t x, int32_t y) const
    {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
};

// Draws `icon` at its default size into a memory bitmap of the given size
// filled with `background` (0x00RRGGBB).
Image RenderIcon(HICON icon, int32_t width, int32_t height, uint32_t background);

bool SaveBmp(const char* path, const Image& image);
