// Fuzz target: a whole bitmap file as the frame buffer's loader reads it.
#include "surface/ImageFormats.h"
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace imagefmt;
    if (size < kBmpFileHeaderSize + kBmpInfoHeaderSize)
        return 0;
    BmpInfo info{};
    if (CheckBmpHeader(data + kBmpFileHeaderSize, size, &info) != Check::ok)
        return 0;
    // The checks promise that the pixel rows lie inside the file.
    std::vector<uint8_t> pixels(info.imageSize);
    std::memcpy(pixels.data(), data + kBmpPixelOffset, info.imageSize);
    return 0;
}
