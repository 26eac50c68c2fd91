// velmora_make_toolbar OUT.bmp PICTURE0.txt ... PICTURE16.txt
// Writes the toolbar's 606 × 32, 4-bit image strip from 17 pixel-art
// pictures of 32 × 32, in strip order.
#include "tools/assets/ToolbarStrip.h"
#include "tools/assets/WriteFile.h"
#include <cstdio>

int main(int argc, char** argv)
{
    using namespace velmora::assets;
    if (argc != 2 + kStripPictures) {
        std::fprintf(stderr, "usage: %s OUT.bmp followed by %d picture files\n", argv[0], int(kStripPictures));
        return 2;
    }
    std::vector<PixelArt> pictures(kStripPictures);
    for (int32_t n = 0; n < kStripPictures; ++n) {
        std::string error;
        if (!ReadPixelArtFile(argv[2 + n], kPictureSize, kPictureSize, pictures[size_t(n)], error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }
    return WriteAssetFile(argv[1], MakeToolbarStrip(pictures)) ? 0 : 1;
}
