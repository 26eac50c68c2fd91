// velmora_make_icon_png PICTURE.txt SIZE OUT.png
// Writes the 32 × 32 icon picture as a SIZE × SIZE PNG, scaled without
// smoothing; its '.' pixels are transparent.
#include "tools/assets/IconFile.h"
#include "tools/assets/PngFile.h"
#include "tools/assets/WriteFile.h"
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    using namespace velmora::assets;
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s PICTURE.txt SIZE OUT.png\n", argv[0]);
        return 2;
    }
    char* end = nullptr;
    const long size = std::strtol(argv[2], &end, 10);
    if (*argv[2] == '\0' || *end != '\0' || size < 1 || size > 1024) {
        std::fprintf(stderr, "%s: the size must be a number of pixels from 1 to 1024\n", argv[2]);
        return 2;
    }
    PixelArt art;
    if (!ReadIconPicture(argv[1], art))
        return 1;
    return WriteAssetFile(argv[3], MakeIconPng(art, int32_t(size))) ? 0 : 1;
}
