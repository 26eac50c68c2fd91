// Fuzz target: a whole PCX file as the frame buffer's loader reads it.
#include "surface/ImageFormats.h"
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace imagefmt;
    if (size < kPcxHeaderSize)
        return 0;
    PcxInfo info{};
    if (CheckPcxHeader(data, size, &info) != Check::ok)
        return 0;
    const uint32_t pitch = RowPitch(info.width);
    // Exactly the pixel block: any write past it is an overflow report.
    std::vector<uint8_t> pixels(size_t(pitch) * size_t(info.height));
    DecodePcxRows(data + kPcxHeaderSize, info.dataSize, info.bytesPerLine, pixels.data(), pitch, info.height);
    return 0;
}
