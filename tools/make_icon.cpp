// velmora_make_icon PICTURE.txt OUT.ico
// Writes a 32 × 32, 16-colour icon from a pixel-art picture; its '.'
// pixels are transparent.
#include "tools/assets/IconFile.h"
#include "tools/assets/WriteFile.h"
#include <cstdio>

int main(int argc, char** argv)
{
    using namespace velmora::assets;
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PICTURE.txt OUT.ico\n", argv[0]);
        return 2;
    }
    PixelArt art;
    if (!ReadIconPicture(argv[1], art))
        return 1;
    return WriteAssetFile(argv[2], MakeIconFile(art)) ? 0 : 1;
}
